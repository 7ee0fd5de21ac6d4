// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/UJobListModel.h"

#include "ui/UQtText.h"

namespace qx {

TJobListModel::TJobListModel(QObject* parent) : QAbstractListModel(parent) {
  const auto changed = [this] { emit JobsChanged(); };
  connect(this, &QAbstractItemModel::rowsInserted, this, changed);
  connect(this, &QAbstractItemModel::rowsRemoved, this, changed);
  connect(this, &QAbstractItemModel::rowsMoved, this, changed);
  connect(this, &QAbstractItemModel::dataChanged, this, changed);
  connect(this, &QAbstractItemModel::modelReset, this, changed);
}

void TJobListModel::AddNew(TJob job) {
  const int row = rowCount();
  beginInsertRows(QModelIndex(), row, row);
  m_jobs.AddNew(std::move(job));
  endInsertRows();
}

void TJobListModel::SetJob(int row, TJob job) {
  m_jobs[static_cast<std::size_t>(row)] = std::move(job);
  emit dataChanged(index(row), index(row));
}

void TJobListModel::Delete(int row) {
  beginRemoveRows(QModelIndex(), row, row);
  m_jobs.Delete(static_cast<std::size_t>(row));
  endRemoveRows();
}

bool TJobListModel::MoveUp(int row) {
  if (row <= 0 || row >= rowCount()) return false;
  beginMoveRows(QModelIndex(), row, row, QModelIndex(), row - 1);
  m_jobs.MoveUp(static_cast<std::size_t>(row));
  endMoveRows();
  return true;
}

bool TJobListModel::MoveDown(int row) {
  if (row < 0 || row + 1 >= rowCount()) return false;
  // Qt names the destination as the row before which the moved row lands.
  beginMoveRows(QModelIndex(), row, row, QModelIndex(), row + 2);
  m_jobs.MoveDown(static_cast<std::size_t>(row));
  endMoveRows();
  return true;
}

void TJobListModel::ReplaceAll(std::vector<TJob> jobs) {
  beginResetModel();
  m_jobs.ReplaceAll(std::move(jobs));
  endResetModel();
}

int TJobListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_jobs.Count());
}

QVariant TJobListModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  const TJob& job = m_jobs[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole) return ToQString(JobDescription(job));
  if (role == Qt::CheckStateRole) return job.enabled ? Qt::Checked : Qt::Unchecked;
  return {};
}

bool TJobListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return false;
  m_jobs[static_cast<std::size_t>(index.row())].enabled = value.toInt() == Qt::Checked;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

Qt::ItemFlags TJobListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

}  // namespace qx
