#include "RecipientsList.h"

#include "ControlIds.h"

#include "compose/RecipientFilter.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>

namespace ui {

namespace {

// The in-place editor: digits only, at most 32.
class DigitsDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                        const QModelIndex &index) const override {
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
      line->setMaxLength(static_cast<int>(compose::kMaxTypedNumber));
      line->setValidator(new QRegularExpressionValidator(
          QRegularExpression(QString("[0-9]{0,%1}").arg(compose::kMaxTypedNumber)), line));
      line->setAccessibleName("Mobile number");
    }
    return editor;
  }
};

QString Filtered(const QString &text) {
  return QString::fromStdString(compose::FilterRecipientInput(text.toStdString()));
}

} // namespace

RecipientsList::RecipientsList(QWidget *parent) : QListWidget(parent) {
  setObjectName(QString::number(ids::kSmsRecipients));
  setAccessibleName("Recipients");
  setItemDelegate(new DigitsDelegate(this));
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                  QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  connect(this, &QListWidget::itemChanged, this, &RecipientsList::RowEdited);
  SetNumbers({});
}

QListWidgetItem *RecipientsList::NewRow(const QString &text) {
  auto *item = new QListWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
  return item;
}

std::vector<std::string> RecipientsList::Numbers() const {
  std::vector<std::string> numbers;
  for (int i = 0; i < count(); ++i)
    if (!item(i)->text().isEmpty()) numbers.push_back(item(i)->text().toStdString());
  return numbers;
}

void RecipientsList::SetNumbers(const std::vector<std::string> &numbers) {
  ++updating_;
  clear();
  for (const std::string &n : numbers)
    addItem(NewRow(Filtered(QString::fromStdString(n))));
  Tidy();
  --updating_;
  emit NumbersChanged();
}

// Empty rows go, except one entry row at the end.
void RecipientsList::Tidy() {
  ++updating_;
  for (int i = count() - 2; i >= 0; --i)
    if (item(i)->text().isEmpty()) delete takeItem(i);
  if (count() == 0 || !item(count() - 1)->text().isEmpty()) addItem(NewRow(QString()));
  --updating_;
}

void RecipientsList::RowEdited(QListWidgetItem *row) {
  if (updating_) return;
  // Text may arrive by other routes than the editor (a paste).
  const QString clean = Filtered(row->text());
  if (clean != row->text()) {
    ++updating_;
    row->setText(clean);
    --updating_;
  }
  // A new entry row at once; emptied rows go once the edit has ended (the
  // row that reports the change must not go away under it).
  if (!item(count() - 1)->text().isEmpty()) {
    ++updating_;
    addItem(NewRow(QString()));
    --updating_;
  }
  if (clean.isEmpty())
    QMetaObject::invokeMethod(
        this, [this] { Tidy(); }, Qt::QueuedConnection);
  emit NumbersChanged();
}

void RecipientsList::EditEntryRow() {
  QListWidgetItem *entry = item(count() - 1);
  setCurrentItem(entry);
  editItem(entry);
}

bool RecipientsList::EditCommand(int id) {
  QListWidgetItem *row = currentItem() ? currentItem() : item(count() - 1);
  if (!row) return false;
  QClipboard *clipboard = QApplication::clipboard();
  if (id == ids::kEditCopy || id == ids::kEditCut) {
    clipboard->setText(row->text());
    if (id == ids::kEditCut) row->setText(QString());
    return true;
  }
  if (id == ids::kEditPaste) {
    row->setText(row->text() + clipboard->text());
    return true;
  }
  return false;
}

} // namespace ui
