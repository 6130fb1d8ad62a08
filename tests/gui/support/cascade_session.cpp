#include "support/cascade_session.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QToolButton>
#include <cmath>

#include "aids/order_dialog.h"
#include "app/secondary_windows.h"
#include "cascade/cascade_choices.h"
#include "cascade/cascade_entry_fields.h"
#include "cascade/cascade_texts.h"
#include "cascade/cascade_window.h"
#include "cascade/parts_list.h"
#include "cascade/section_table.h"
#include "graphs/cascade_graphs.h"
#include "graphs/graph_picture.h"
#include "graphs/graph_window.h"
#include "numerics/standard_series.h"
#include "spice/netlist.h"
#include "ui/spin_button.h"

namespace morvane::gui::test {

namespace {

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool Usable(const QWidget* widget) {
  return widget->isVisible() && widget->isEnabled();
}

// Picks an item as a click in the open list does.
void Activate(QComboBox* choice, int index) {
  choice->setCurrentIndex(index);
  emit choice->activated(index);
  QCoreApplication::processEvents();  // a section's choice is applied queued
}

// Replaces the field's text key by key, as a user selecting it all and typing does.
void TypeReplacing(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  if (text.isEmpty()) {
    QTest::keyClick(edit, Qt::Key_Delete);
  } else {
    for (QChar c : text) QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, c, {});
  }
}

// Two designs the window would show alike: problem, circuits, parts and figures.
QString DesignDifference(const CascadeDesign& shown, const CascadeDesign& expected,
                         const SectionDesignOptions& options) {
  if (shown.problem != expected.problem) {
    return "problem " + Shown(Q(shown.problem)) + ", its entries give " +
           Shown(Q(expected.problem));
  }
  if (CascadeNetlist(shown, {}) != CascadeNetlist(expected, {})) return "another circuit";
  if (PartsListCsv(shown, options) != PartsListCsv(expected, options)) return "other parts";
  for (const FigureRow& row : FigureRows()) {
    if (FigureText(row.figure, shown) != FigureText(row.figure, expected)) {
      return "figure " + Q(row.name) + " differs";
    }
  }
  return {};
}

// The cells of a section's row, from the section as morvane-cli states it in JSON.
SectionRowTexts RowFromJson(std::size_t index, const QJsonObject& s, const CascadeSection& mine) {
  CascadeSection section = mine;  // the parts' order and the peaking's frequency are the window's
  const auto number = [](const QJsonValue& v) { return v.isDouble() ? v.toDouble() : NAN; };
  section.plan.kind = s["kind"].toString().toStdString();
  section.plan.f0 = number(s["f0"]);
  section.plan.q = number(s["q"]);
  section.plan.fz.reset();
  if (s["fz"].isDouble()) section.plan.fz = s["fz"].toDouble();
  section.circuit.gain = number(s["gain"]);
  section.circuit.inverting = s["inverting"].toBool();
  section.peaking.peakingDb = number(s["peakingDb"]);
  section.peaking.gbwpHz = number(s["gbwpHz"]);
  const QJsonObject parts = s["components"].toObject();
  for (CircuitPart& part : section.circuit.circuit.parts) {
    part.value = parts.contains(Q(part.name)) ? number(parts[Q(part.name)]) : NAN;
  }
  return SectionRow(index, section);
}

QString RowDifference(const SectionRowTexts& a, const SectionRowTexts& b) {
  const std::pair<const char*, const std::string SectionRowTexts::*> kCells[] = {
      {"kind", &SectionRowTexts::kind}, {"f0", &SectionRowTexts::f0},
      {"Q", &SectionRowTexts::q},       {"fz", &SectionRowTexts::fz},
      {"gain", &SectionRowTexts::gain}, {"peaking", &SectionRowTexts::peaking},
      {"GBWP", &SectionRowTexts::gbwp}, {"parts", &SectionRowTexts::parts}};
  for (const auto& [name, cell] : kCells) {
    if (a.*cell != b.*cell) {
      return QString("%1 %2, morvane-cli %3").arg(name, Shown(Q(a.*cell)), Shown(Q(b.*cell)));
    }
  }
  return {};
}

}  // namespace

CascadeSession::CascadeSession(QWidget& main, SecondaryWindows& windows, HostileTexts& texts,
                               const QString& folder)
    : main_(main), windows_(windows), texts_(texts), folder_(folder) {}

QString CascadeSession::Step() {
  stepped_ = true;
  if (!windows_.Cascade().isVisible()) return Open();
  const int kind = texts_.Pick(100);
  if (kind < 40) return TypeIntoField();
  if (kind < 55) return Spin();
  if (kind < 72) return Choose();
  if (kind < 76) return ToggleBox();
  if (kind < 81) return TypeSectionOrder();
  if (kind < 91) return ChooseSectionTopology();
  if (kind < 95) return SelectRow();
  if (kind < 99) return GraphCommand();
  windows_.Cascade().close();
  return "close the multi-stage window";
}

QString CascadeSession::Open() {
  opened_ = true;
  QAbstractButton* handOver = windows_.Order().findChild<QAbstractButton*>("MultiStageBtn");
  if (Usable(handOver) && texts_.Pick(2) == 0) {
    QTest::mouseClick(handOver, Qt::LeftButton);
    return "hand over from the order dialog";
  }
  if (texts_.Pick(2) == 0) {
    QTest::mouseClick(main_.findChild<QAbstractButton*>("CascadeBtn"), Qt::LeftButton);
    return "open the multi-stage window by its speed button";
  }
  main_.findChild<QAction*>("MultiStageFilter1")->trigger();
  return "open the multi-stage window from the Tools menu";
}

QString CascadeSession::TypeIntoField() {
  CascadeWindow& w = windows_.Cascade();
  QList<QLineEdit*> usable;
  for (const CascadeEntryField& f : CascadeEntryFields()) {
    auto* edit = w.findChild<QLineEdit*>(Q(f.name));
    if (Usable(edit)) usable << edit;
  }
  if (usable.isEmpty()) return "no field to type into";
  QLineEdit* edit = usable[texts_.Pick(static_cast<int>(usable.size()))];
  edit->setFocus();
  QString text = texts_.Next();
  if (text.size() > 40) text = text.left(40);  // a keystroke each: long texts are the main window's
  // A keystroke that leaves the text as it was (a control character) is no typing: the
  // field goes on showing the window's own text.
  const QString before = edit->text();
  if (texts_.Pick(2) == 0) {
    TypeReplacing(edit, text);
    if (edit->text() != before) typed_[edit->objectName()] = edit->text();
    return "type " + Shown(text) + " into " + edit->objectName();
  }
  edit->end(false);
  for (int i = texts_.Pick(4); i > 0; --i) QTest::keyClick(edit, Qt::Key_Backspace);
  for (QChar c : text.left(4)) QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, c, {});
  if (edit->text() != before) typed_[edit->objectName()] = edit->text();
  return "append " + Shown(text.left(4)) + " to " + edit->objectName();
}

QString CascadeSession::Spin() {
  QList<SpinButton*> usable;
  for (SpinButton* spin : windows_.Cascade().findChildren<SpinButton*>()) {
    if (Usable(spin)) usable << spin;
  }
  if (usable.isEmpty()) return "no spin button";
  SpinButton* spin = usable[texts_.Pick(static_cast<int>(usable.size()))];
  const bool up = texts_.Pick(2) == 0;
  QTest::mouseClick(up ? spin->UpButton() : spin->DownButton(), Qt::LeftButton);
  typed_.remove(spin->objectName().mid(4));  // "Spin" + the field's name: it shows the value
  return QString("spin %1 %2").arg(spin->objectName(), up ? "up" : "down");
}

QString CascadeSession::Choose() {
  static const char* const kChoices[] = {"CascadeApproximation", "CascadeType",
                                         "CascadeSplit",         "CascadeAllSections",
                                         "CascadeSeriesR",       "CascadeSeriesC"};
  auto* choice = windows_.Cascade().findChild<QComboBox*>(
      kChoices[texts_.Pick(static_cast<int>(std::size(kChoices)))]);
  if (!Usable(choice) || choice->count() == 0) return "no choice in " + choice->objectName();
  const int index = texts_.Pick(choice->count());
  const QString item = choice->itemText(index);
  Activate(choice, index);
  return "choose " + item + " in " + choice->objectName();
}

QString CascadeSession::ToggleBox() {
  const char* name = texts_.Pick(2) == 0 ? "CascadeUseScheme" : "CascadeRoundResistors";
  auto* box = windows_.Cascade().findChild<QCheckBox*>(name);
  if (!Usable(box)) return box->objectName() + " not usable";
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
  return QString("%1 %2").arg(box->objectName(), box->isChecked() ? "checked" : "cleared");
}

QString CascadeSession::TypeSectionOrder() {
  auto* edit = windows_.Cascade().findChild<QLineEdit*>("CascadeSectionOrder");
  const int sections = static_cast<int>(windows_.Cascade().Design().sections.size());
  QString text;
  if (texts_.Pick(3) == 0) {
    text = texts_.Next().left(20);
  } else {
    // Mostly an order that could fit: every section once, shuffled, now and then one off.
    QList<int> order;
    for (int i = 1; i <= sections + (texts_.Pick(5) == 0 ? 1 : 0); ++i) order << i;
    for (qsizetype i = order.size() - 1; i > 0; --i) {
      order.swapItemsAt(i, texts_.Pick(static_cast<int>(i) + 1));
    }
    QStringList parts;
    for (int n : order) parts << QString::number(n);
    text = parts.join(texts_.Pick(4) == 0 ? " " : ",");
  }
  TypeReplacing(edit, text);
  typed_[edit->objectName()] = edit->text();
  return "section order " + Shown(text);
}

QString CascadeSession::ChooseSectionTopology() {
  SectionTable* table = windows_.Cascade().Table();
  if (table->rowCount() == 0) return "no section to choose for";
  const int row = texts_.Pick(table->rowCount());
  QComboBox* choice = table->TopologyChoice(row);
  if (!choice || choice->count() == 0) return QString("row %1 has no choice").arg(row + 1);
  const int index = texts_.Pick(choice->count());
  const QString item = choice->itemText(index);
  Activate(choice, index);
  return QString("section %1 built as %2").arg(row + 1).arg(item);
}

QString CascadeSession::SelectRow() {
  SectionTable* table = windows_.Cascade().Table();
  if (table->rowCount() == 0) return "no row to select";
  const int row = texts_.Pick(table->rowCount());
  table->selectRow(row);
  return QString("select section %1").arg(row + 1);
}

QString CascadeSession::GraphCommand() {
  static const char* const kGraphs[] = {"CascadeGainGraph", "CascadePhaseGraph",
                                        "CascadeGroupDelayGraph", "CascadeStepGraph",
                                        "CascadePoleZeroGraph"};
  CascadeGraphs* graphs = windows_.Cascade().findChild<CascadeGraphs*>();
  if (texts_.Pick(3) == 0) {
    graphs->HideAll();
    return "hide the multi-stage graphs";
  }
  const char* name = kGraphs[texts_.Pick(static_cast<int>(std::size(kGraphs)))];
  windows_.Cascade().findChild<QAction*>(name)->trigger();
  return QString("open ") + name;
}

QString CascadeSession::Check() {
  // The main window's actions leave this window alone: checked after every one of its own
  // actions, and after every so many of the others to see that they do.
  if (!opened_ || (!stepped_ && ++othersSinceCheck_ < kCheckAfterOthers)) return {};
  stepped_ = false;
  othersSinceCheck_ = 0;
  const CascadeWindow& w = windows_.Cascade();
  const CascadeEntries& entries = w.Entries();
  if (QString d =
          DesignDifference(w.Design(), DesignCascade(RequestOf(entries)), entries.request.circuit);
      !d.isEmpty()) {
    return "multi-stage window: " + d;
  }
  for (QString problem : {CheckFields(), CheckTable(), CheckTextsAreNumbers()}) {
    if (!problem.isEmpty()) return "multi-stage window: " + problem;
  }
  return {};
}

// Each field shows the text last typed into it, which reads as the value the entries hold, or
// the value's own text; the section order the same way.
QString CascadeSession::CheckFields() {
  const CascadeWindow& w = windows_.Cascade();
  const CascadeEntries& entries = w.Entries();
  for (const CascadeEntryField& f : CascadeEntryFields()) {
    const QString shown = w.findChild<QLineEdit*>(Q(f.name))->text();
    if (typed_.contains(Q(f.name)) && typed_[Q(f.name)] == shown) {
      CascadeEntries read = entries;
      StoreCascadeEntry(f, shown.toStdString(), read);
      if (CascadeEntryText(f, read) != CascadeEntryText(f, entries) ||
          !SameBits(f.get(read), f.get(entries))) {
        return QString("%1 shows %2 but holds %3").arg(Q(f.name), Shown(shown)).arg(f.get(entries));
      }
      continue;
    }
    typed_.remove(Q(f.name));
    if (shown != Q(CascadeEntryText(f, entries))) {
      return QString("%1 shows %2, its value is %3")
          .arg(Q(f.name), Shown(shown), Shown(Q(CascadeEntryText(f, entries))));
    }
  }
  const QString order = w.findChild<QLineEdit*>("CascadeSectionOrder")->text();
  if (!(typed_.value("CascadeSectionOrder") == order &&
        ReadSectionOrder(order.toStdString()) == entries.request.sectionOrder) &&
      order != Q(SectionOrderText(entries.request.sectionOrder))) {
    return "the section order shows " + Shown(order);
  }
  const auto shows = [&](const char* name, int data) {
    return w.findChild<QComboBox*>(name)->currentData().toInt() == data;
  };
  const CascadeRequest& r = entries.request;
  if (!shows("CascadeApproximation", static_cast<int>(r.approximation)) ||
      !shows("CascadeType", static_cast<int>(r.kind)) ||
      !shows("CascadeSplit", static_cast<int>(r.split)) ||
      !shows("CascadeSeriesR", r.circuit.seriesR) || !shows("CascadeSeriesC", r.circuit.seriesC) ||
      !shows("CascadeAllSections", r.topology ? static_cast<int>(*r.topology) : -1) ||
      w.findChild<QCheckBox*>("CascadeUseScheme")->isChecked() != entries.useScheme ||
      w.findChild<QCheckBox*>("CascadeRoundResistors")->isChecked() != r.circuit.roundResistors) {
    return "a choice shows another value than the entries hold";
  }
  auto* problemLine = w.findChild<QLabel*>("CascadeProblemLine");
  const CascadeDesign& design = w.Design();
  // The line may say it in the window's own words (a section order that does not fit).
  if (problemLine->isVisibleTo(&w) != !design.problem.empty() ||
      (!design.problem.empty() && !problemLine->text().startsWith("Cannot be built: "))) {
    return "the status line shows " + Shown(problemLine->text()) + " for problem " +
           Shown(Q(design.problem));
  }
  for (const FigureRow& row : FigureRows()) {
    const QString shown = w.findChild<QLineEdit*>(Q(row.name))->text();
    if (shown != Q(FigureText(row.figure, design))) {
      return Q(row.name) + " shows " + Shown(shown);
    }
  }
  const CascadeResponseSource& source = w.findChild<CascadeGraphs*>()->Source();
  if (source.HasFilter() != design.problem.empty() ||
      source.SectionCount() != (design.problem.empty() ? design.sections.size() : 0)) {
    return "the graphs show another filter";
  }
  return {};
}

// A row a section, its cells the texts of the section, its choice the topologies that build it.
QString CascadeSession::CheckTable() {
  const CascadeWindow& w = windows_.Cascade();
  const CascadeDesign& design = w.Design();
  const SectionTable* table = w.Table();
  const std::size_t rows = design.problem.empty() ? design.sections.size() : 0;
  if (table->rowCount() != static_cast<int>(rows)) {
    return QString("%1 rows for %2 sections").arg(table->rowCount()).arg(rows);
  }
  for (std::size_t i = 0; i < rows; ++i) {
    const int row = static_cast<int>(i);
    const CascadeSection& section = design.sections[i];
    const SectionRowTexts texts = SectionRow(i, section);
    const std::pair<int, const std::string*> kCells[] = {
        {SectionTable::Number, &texts.number},   {SectionTable::Kind, &texts.kind},
        {SectionTable::F0, &texts.f0},           {SectionTable::Q, &texts.q},
        {SectionTable::Fz, &texts.fz},           {SectionTable::Gain, &texts.gain},
        {SectionTable::Peaking, &texts.peaking}, {SectionTable::Gbwp, &texts.gbwp},
        {SectionTable::Parts, &texts.parts}};
    for (const auto& [column, text] : kCells) {
      const QTableWidgetItem* item = table->item(row, column);
      if (!item || item->text() != Q(*text)) {
        return QString("row %1 column %2 shows %3, the section %4")
            .arg(row + 1)
            .arg(column)
            .arg(Shown(item ? item->text() : QString()), Shown(Q(*text)));
      }
    }
    QComboBox* choice = table->TopologyChoice(row);
    const std::vector<Topology> fitting =
        FittingTopologies(section.plan, w.Entries().request.circuit);
    if (!choice || choice->count() != static_cast<int>(fitting.size()) ||
        choice->currentData().toInt() != static_cast<int>(section.topology)) {
      return QString("row %1 offers other topologies than those that build it").arg(row + 1);
    }
    for (std::size_t k = 0; k < fitting.size(); ++k) {
      if (choice->itemData(static_cast<int>(k)).toInt() != static_cast<int>(fitting[k])) {
        return QString("row %1 offers another topology at %2").arg(row + 1).arg(k);
      }
    }
  }
  return {};
}

// No "nan" or "inf" anywhere the window or its graphs write, no sample that is not a number.
QString CascadeSession::CheckTextsAreNumbers() {
  const CascadeWindow& w = windows_.Cascade();
  QStringList texts;
  for (auto* label : w.findChildren<QLabel*>()) texts << label->text() << label->toolTip();
  for (auto* edit : w.findChildren<QLineEdit*>()) {
    if (!typed_.contains(edit->objectName())) texts << edit->text();
  }
  const SectionTable* table = w.Table();
  for (int row = 0; row < table->rowCount(); ++row) {
    for (int column = 0; column < table->columnCount(); ++column) {
      if (const QTableWidgetItem* item = table->item(row, column)) texts << item->text();
    }
  }
  for (const QString& text : texts) {
    if (ShowsNanOrInf(text)) return "shows " + Shown(text);
  }
  CascadeGraphs* graphs = w.findChild<CascadeGraphs*>();
  for (GraphKind kind : kGraphKinds) {
    GraphWindow& graph = graphs->Window(kind);
    if (!graph.isVisible()) continue;
    const CurveBuffer& buffer = graph.Buffer();
    // What is drawn and exported: an empty curve (no filter) has no sample.
    for (int i = 0; i < DrawnSampleCount(kind, buffer); ++i) {
      const auto at = static_cast<std::size_t>(i);
      if (!std::isfinite(buffer.X[at]) || !std::isfinite(buffer.Y[at])) {
        IniDocument document;
        PutCascadeEntries(document, w.Entries());
        return QString("%1 holds a sample that is not a number: %2 at %3 of %4; entries:\n%5")
            .arg(graph.windowTitle())
            .arg(buffer.Y[at])
            .arg(buffer.X[at])
            .arg(buffer.Count)
            .arg(Q(document.Text()));
      }
    }
  }
  return {};
}

QString CascadeSession::CompareWithCli(const QString& cli, bool& compared) {
  if (!opened_) return {};
  const CascadeWindow& w = windows_.Cascade();
  const CascadeEntries& entries = w.Entries();
  const CascadeRequest& r = entries.request;
  // The entries on the command line where it takes them all, else in a design file.
  QStringList args{"cascade", "--json"};
  QString unreproducible;
  const auto value = [&](const char* name, double x) {
    if (const auto text = ExactEntryText(x)) {
      args << QString("%1=%2").arg(name, *text);
    } else {
      unreproducible += QString(" %1=%2").arg(name).arg(x, 0, 'g', 17);
    }
  };
  if (r.sectionTopologies.empty()) {
    args << "--approximation" << Q(NameOf(r.approximation)) << "--type" << Q(NameOf(r.kind))
         << "--gain-split" << Q(NameOf(r.split)) << "--series-r" << Q(SeriesName(r.circuit.seriesR))
         << "--series-c" << Q(SeriesName(r.circuit.seriesC));
    if (r.topology) args << "--topology" << Q(SectionTopologyName(*r.topology));
    if (r.circuit.roundResistors) args << "--round-resistors";
    if (!r.sectionOrder.empty()) {
      QStringList order;
      for (int n : r.sectionOrder) order << QString::number(n + 1);
      args << "--section-order" << order.join(',');
    }
    if (entries.useScheme) {
      QStringList scheme;
      for (double x :
           {entries.scheme.f1, entries.scheme.d1, entries.scheme.f2, entries.scheme.d2}) {
        scheme << ExactEntryText(x).value_or("?");
        if (!ExactEntryText(x)) unreproducible += QString(" scheme %1").arg(x, 0, 'g', 17);
      }
      args << "--scheme" << scheme.join(';');
    } else {
      args << "--order" << QString::number(r.order);
    }
    if (IsBandKind(r.kind)) {
      value("fm", r.fm);
      value("B", r.bandwidth);
    } else if (!entries.useScheme) {
      value("fg", r.fg);
    }
    if (UsesRipple(r.approximation) && !entries.useScheme) value("ripple", r.rippleDb);
    if (UsesStopband(r.approximation) && !entries.useScheme) value("stopband", r.stopbandDb);
    value("gain", r.gain);
    value("Zin", r.circuit.zin);
    if (r.stopbandHz) value("fs", *r.stopbandHz);
  } else {
    const QString path = folder_ + "/cascade-compared.ini";
    std::string error;
    if (!WriteCascadeFile(path.toStdString(), entries, error)) return Q(error);
    args << "--design" << path;
  }
  if (!unreproducible.isEmpty()) {
    qInfo("no entry text reproduces%s; compared later", qPrintable(unreproducible));
    return {};
  }
  compared = true;

  QProcess process;
  process.start(cli, args);
  if (!process.waitForFinished(60000)) return "morvane-cli did not finish: " + args.join(' ');
  const QString errors = QString::fromUtf8(process.readAllStandardError());
  const CascadeDesign& design = w.Design();
  if (!design.problem.empty()) {
    // A section order that does not fit each says in its own words.
    const bool sameWords = !r.sectionOrder.empty() || errors.contains(Q(design.problem));
    if (process.exitCode() == 0 || !sameWords) {
      return "the window cannot build it (" + Q(design.problem) + "), morvane-cli says " +
             Shown(errors) + " (" + args.join(' ') + ")";
    }
    return {};
  }
  if (process.exitCode() != 0) {
    return "morvane-cli " + args.join(' ') + " failed: " + errors;
  }
  const QJsonObject root = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
  if (root["order"].toInt() != design.order) return "morvane-cli designs another order";
  const QJsonArray sections = root["sections"].toArray();
  if (sections.size() != static_cast<qsizetype>(design.sections.size())) {
    return "morvane-cli designs another number of sections";
  }
  for (std::size_t i = 0; i < design.sections.size(); ++i) {
    const QJsonObject s = sections[static_cast<qsizetype>(i)].toObject();
    const CascadeSection& mine = design.sections[i];
    if (s["topology"].toString() != Q(SectionTopologyName(mine.topology))) {
      return QString("section %1: another topology (%2)").arg(i + 1).arg(args.join(' '));
    }
    if (mine.asBuilt.has_value() != s.contains("asBuilt") ||
        (mine.asBuilt && !SameBits(mine.asBuilt->f0, s["asBuilt"].toObject()["f0"].toDouble()))) {
      return QString("section %1: another f0 as built (%2)").arg(i + 1).arg(args.join(' '));
    }
    if (QString d = RowDifference(SectionRow(i, mine), RowFromJson(i, s, mine)); !d.isEmpty()) {
      return QString("section %1: window %2 (%3)").arg(i + 1).arg(d, args.join(' '));
    }
  }
  QStringList warnings;
  for (const std::string& text : design.warnings) warnings << Q(text);
  QStringList cliWarnings;
  for (const QJsonValue& text : root["warnings"].toArray()) cliWarnings << text.toString();
  if (warnings != cliWarnings) return "other warnings than morvane-cli's (" + args.join(' ') + ")";
  const QJsonObject figures = root["figures"].toObject();
  const std::pair<const char*, std::optional<double>> kFigures[] = {
      {"f3dbLowHz", design.figures.whole.edges.lowerHz},
      {"f3dbHighHz", design.figures.whole.edges.upperHz},
      {"rippleDb", design.figures.whole.rippleDb},
      {"attenuationDb", design.figures.attenuationDb}};
  for (const auto& [name, mine] : kFigures) {
    const QJsonValue theirs = figures[name];
    const bool same = mine && std::isfinite(*mine)
                          ? theirs.isDouble() && SameBits(theirs.toDouble(), *mine)
                          : theirs.isNull();
    if (!same)
      return QString("figure %1 differs from morvane-cli's (%2)").arg(name, args.join(' '));
  }
  return {};
}

}  // namespace morvane::gui::test
