#pragma once
// The member list's rows for the view: the MemberTable's rows with the
// columns "Name" (1168), "Surname" (1169) and "Mobile No." (1170), texts
// converted from Windows-1252 when shown.

#include "addresses/MemberTable.h"

#include <QAbstractTableModel>

#include <functional>

namespace ui {

class MemberListModel : public QAbstractTableModel {
  Q_OBJECT
public:
  MemberListModel(const addresses::MemberTable &table, QObject *parent = nullptr);

  // The table changed as a whole (another group, a sort, a refresh).
  void Reset(const std::function<void()> &change);

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
  const addresses::MemberTable &table_;
};

} // namespace ui
