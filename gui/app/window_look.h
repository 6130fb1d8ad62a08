#pragma once

// The look shared by the main window's regions: colours, headings, labels with hints,
// entry and result fields. Every control gets its design name as objectName.

#include <QColor>
#include <QString>
#include <string_view>

class QFrame;
class QLabel;
class QLineEdit;
class QTableWidgetItem;
class QWidget;

namespace morvane::gui {

inline const QColor kLightYellow(255, 255, 232);  // entry fields, splash
inline const QColor kSilver(192, 192, 192);       // window, result fields
inline const QColor kMaroon(128, 0, 0);           // section headings
inline const QColor kDisabledText(112, 112, 112);
inline const QColor kAmber(255, 208, 128);  // a value no part one can buy has

inline constexpr int kFieldHeight = 19;

QString Text(std::string_view text);

// Tooltip and status-bar text together, as one hint.
void SetHint(QWidget* widget, const QString& hint);

QLabel* MakeHeading(const QString& text, QWidget* parent);
QLabel* MakeLabel(const QString& name, const QString& text, const QString& hint, QWidget* parent);
// A light-yellow entry field.
QLineEdit* MakeEntryField(std::string_view name, int width, QWidget* parent);
// A silver read-only field the program writes.
QLineEdit* MakeResultField(std::string_view name, int width, QWidget* parent);
// A raised panel holding one region of the window.
QFrame* MakeRegion(const QString& name, const QString& hint, QWidget* parent);

// Marks a field or grid cell whose component cannot be bought: amber, with the message as its
// hint. An empty message gives it back its own colour and hint. Does nothing when the mark is
// already the one asked for, so that it can follow every recalculation.
void MarkUnbuildable(QLineEdit* field, const QString& message);
void MarkUnbuildable(QTableWidgetItem* cell, const QString& message);
// The message a field or cell is marked with; empty when unmarked.
QString UnbuildableMark(const QLineEdit* field);
QString UnbuildableMark(const QTableWidgetItem* cell);

}  // namespace morvane::gui
