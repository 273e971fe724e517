#pragma once
// Pieces the page's dialogs share: the OK and Cancel row, a labelled line
// edit of fixed width, and the conversion of a line edit's text to a
// bounded Windows-1252 field.

#include <QString>

#include <cstddef>
#include <string>

class QBoxLayout;
class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ui::DialogParts {

// The dialog's look and title.
void Prepare(QDialog &dialog, const QString &title, int minimumWidth);
// "OK" (id 1, the default button, named for screen readers) that accepts
// the dialog; the caller lays it out.
QPushButton *OkButton(QDialog &dialog, const QString &text = "OK");
// "OK" (id 1, the default button) and "Cancel" (id 2) at the right of a row
// added to `layout`; they accept and reject the dialog. Returns OK.
QPushButton *AddOkCancel(QDialog &dialog, QBoxLayout &layout, const QString &okText = "OK");
// A line edit with an id, an accessible name and a length limit.
QLineEdit *Field(int id, const QString &accessibleName, std::size_t maxChars, QWidget *parent);
// The text of a field in Windows-1252, cut to `maxBytes`.
std::string FieldText(const QLineEdit &field, std::size_t maxBytes);

} // namespace ui::DialogParts
