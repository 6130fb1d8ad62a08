// Writes everything the window shows and saves into one folder: the texts of every field and
// label on each page, the pictures of the pages, the design file, the SPICE netlist, the LC
// circuit export and each graph window's BMP, PNG, SVG and CSV. Run under several locales,
// the folders must be the same byte for byte (tests/locale/same_outputs_in_every_locale.sh).

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

#include "cascade/cascade_entry_fields.h"
#include "cascade/cascade_window.h"
#include "cascade/section_table.h"
#include "companions/eseries/eseries_window.h"
#include "graph_test_support.h"
#include "graphs/cascade_graphs.h"
#include "graphs/pole_zero_window.h"
#include "recording_desktop.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

void Append(QByteArray& text, const QString& name, const QString& value) {
  text += name.toUtf8() + "=" + value.toUtf8() + "\n";
}

// What the page shows in words and numbers, in a stable order.
QByteArray ShownTexts(const MainWindow& window) {
  QByteArray text;
  for (const auto* edit : window.findChildren<QLineEdit*>()) {
    if (edit->isVisible()) Append(text, edit->objectName(), edit->text());
  }
  for (const auto* label : window.findChildren<QLabel*>()) {
    if (label->isVisible() && !label->text().isEmpty()) {
      Append(text, label->objectName(), label->text());
    }
  }
  for (const auto& [name, grid] : const_cast<MainWindow&>(window).Session().Grids()) {
    for (const auto& row : grid) {
      QString line;
      for (const auto& cell : row) line += QString::fromStdString(cell) + "|";
      Append(text, QString::fromStdString(name), line);
    }
  }
  return text;
}

bool Save(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Types as the user does, with the decimal comma the entry fields take beside the point.
void Type(MainWindow& window, const char* field, const QString& text) {
  auto* edit = window.findChild<QLineEdit*>(field);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

void WriteWindowOutputs(const QString& folder) {
  DesktopWindow started;
  MainWindow& window = started.window;
  RecordingDesktop& desktop = started.services;
  Type(window, "fgEingabe", "2,2k");
  Type(window, "QEingabe", "1.5");
  const auto save = [&](const char* control, const QString& path) {
    desktop.answer = path;
    started.Use(control);
  };
  for (int page = 1; page <= 7; ++page) {
    window.SelectTopology(static_cast<Topology>(page));
    QApplication::processEvents();
    const QString prefix = folder + "/page" + QString::number(page) + "_";
    Save(prefix + "shown.txt", ShownTexts(window));
    if (QWidget* focused = QApplication::focusWidget())
      focused->clearFocus();  // no blinking cursor
    window.grab().save(prefix + "window.png", "PNG");
    save("SpeedButtonINISave", prefix + "design.ini");
    save("SpiceExport1", prefix + "netlist.cir");
    if (page == 6) save("SpeedButtonExport", prefix + "circuit.txt");
  }
  QByteArray messages;
  for (const QString& m : desktop.messages) messages += m.toUtf8() + "\n";
  Save(folder + "/window_messages.txt", messages);
}

void WriteGraphOutputs(const QString& folder) {
  GraphFixture f;
  const std::pair<GraphKind, const char*> kinds[] = {{GraphKind::Gain, "gain"},
                                                     {GraphKind::Phase, "phase"},
                                                     {GraphKind::GroupDelay, "delay"},
                                                     {GraphKind::TimeResponse, "time"}};
  for (const auto& [kind, name] : kinds) {
    GraphWindow& w = f.Show(kind);
    const QString prefix = folder + "/graph_" + name;
    const std::pair<const char*, const char*> exports[] = {
        {"Save1", ".bmp"}, {"SavePng1", ".png"}, {"SaveSvg1", ".svg"}, {"ExportCsv1", ".csv"}};
    for (const auto& [action, suffix] : exports) {
      f.output.answer = prefix + suffix;
      Child<QAction>(w, action)->trigger();
    }
  }
}

// The Multi-stage Filter window with entries typed as a German user types them: the texts of
// its fields and table, its picture, its three exports, and the pole-zero plot's and the gain
// graph's files.
void WriteCascadeOutputs(const QString& folder) {
  RecordingDesktop desktop;
  CascadeWindow window(desktop);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) qWarning("multi-stage window not exposed");
  const auto choose = [&](const char* name, int data) {
    auto* choice = window.findChild<QComboBox*>(name);
    choice->setCurrentIndex(choice->findData(data));
    emit choice->activated(choice->currentIndex());
  };
  choose("CascadeApproximation", static_cast<int>(Approximation::Elliptic));
  choose("CascadeType", static_cast<int>(FilterKind::Bandpass));
  const std::pair<std::string_view, const char*> typed[] = {
      {cascade_field::order, "3"},       {cascade_field::fm, "2,2k"},
      {cascade_field::bandwidth, "450"}, {cascade_field::ripple, "0,5"},
      {cascade_field::stopband, "45,5"}, {cascade_field::gain, "2,5"},
      {cascade_field::fs, "3,3k"}};
  for (const auto& [name, text] : typed) {
    auto* edit = window.findChild<QLineEdit*>(QString::fromUtf8(name.data(), name.size()));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  QApplication::processEvents();
  QByteArray shown;
  for (const auto* edit : window.findChildren<QLineEdit*>()) {
    Append(shown, edit->objectName(), edit->text());
  }
  const QTableWidget* table = window.Table();
  for (int row = 0; row < table->rowCount(); ++row) {
    for (int column = 0; column < table->columnCount(); ++column) {
      if (const QTableWidgetItem* item = table->item(row, column)) {
        Append(shown, QString("cell%1,%2").arg(row).arg(column), item->text());
      }
    }
  }
  Save(folder + "/cascade_shown.txt", shown);
  // No text cursor in the picture: it blinks, so two runs would draw it differently.
  if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
  window.grab().save(folder + "/cascade_window.png", "PNG");
  const std::pair<const char*, const char*> exports[] = {{"CascadeSaveNetlist", "netlist.cir"},
                                                         {"CascadeSavePartsList", "parts.csv"},
                                                         {"CascadeSaveDesign", "design.ini"}};
  for (const auto& [action, name] : exports) {
    desktop.answer = folder + "/cascade_" + name;
    window.findChild<QAction*>(action)->trigger();
  }

  RecordingPlatform platform;
  RecordingOutput output;
  CascadeGraphs graphs(platform, output);
  graphs.SetCascade(window.Design());
  graphs.Open(GraphKind::Gain);
  graphs.OpenPoleZero();
  const std::pair<QWidget*, const char*> windows[] = {{&graphs.Window(GraphKind::Gain), "gain"},
                                                      {&graphs.PoleZero(), "pole_zero"}};
  for (const auto& [w, name] : windows) {
    const std::pair<const char*, const char*> files[] = {
        {"SavePng1", ".png"}, {"SaveSvg1", ".svg"}, {"ExportCsv1", ".csv"}};
    for (const auto& [action, suffix] : files) {
      output.answer = folder + "/cascade_" + name + suffix;
      w->findChild<QAction*>(action)->trigger();
    }
  }
  graphs.HideAll();
}

// The standard-value program's window with a value and a ratio typed with decimal commas: the
// texts of its fields and decade table, and its picture.
void WriteStandardValueOutputs(const QString& folder) {
  ESeriesWindow window;
  window.show();
  window.SetSeries(PreferredSeries::E96);
  for (const auto& [name, text] : {std::pair{"ESeriesValue", "12,34k"}, {"ESeriesRatio", "2,2"}}) {
    auto* edit = window.findChild<QLineEdit*>(name);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  QApplication::processEvents();
  QByteArray shown;
  for (const auto* edit : window.findChildren<QLineEdit*>()) {
    Append(shown, edit->objectName(), edit->text());
  }
  const auto* table = window.findChild<QTableWidget*>("ESeriesDecade");
  for (int row = 0; row < table->rowCount(); ++row) {
    for (int column = 0; column < table->columnCount(); ++column) {
      Append(shown, QString("cell%1,%2").arg(row).arg(column), table->item(row, column)->text());
    }
  }
  Save(folder + "/eseries_shown.txt", shown);
  if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
  window.grab().save(folder + "/eseries_window.png", "PNG");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fputs("usage: window_outputs FOLDER\n", stderr);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  WriteWindowOutputs(folder);
  WriteGraphOutputs(folder);
  WriteCascadeOutputs(folder);
  WriteStandardValueOutputs(folder);
  return 0;
}
