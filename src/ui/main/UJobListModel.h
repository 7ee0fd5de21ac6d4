// SPDX-License-Identifier: GPL-3.0-or-later
// The job list as the list box lbJobs shows it: one row per job, its description as
// text and its enabled flag as the tick. The model holds the list itself, so a tick and
// its job's flag are one value and cannot drift apart.
#pragma once

#include <QAbstractListModel>
#include <vector>

#include "jobs/UTJob.h"

namespace qx {

class TJobListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit TJobListModel(QObject* parent = nullptr);

  const TJobList& Jobs() const { return m_jobs; }

  // At the end, ticked.
  void AddNew(TJob job);
  // The edited job in place; its description is recomputed.
  void SetJob(int row, TJob job);
  void Delete(int row);
  // Exchange with the neighbour; false at the ends.
  bool MoveUp(int row);
  bool MoveDown(int row);
  // A loaded file: ticks follow the stored flags.
  void ReplaceAll(std::vector<TJob> jobs);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // Only the tick can be set.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  // Any change to the list: a job added, edited, deleted, moved or ticked, or a new list.
  void JobsChanged();

 private:
  TJobList m_jobs;
};

}  // namespace qx
