// SPDX-License-Identifier: GPL-3.0-or-later
// What the folder tree and the file list share: names shown with U+FFFD where their
// bytes are not UTF-8, ordered as people read them (ignoring case, numbers by value),
// and a fresh listing brought in with the fewest row changes.
#pragma once

#include <QAbstractItemModel>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// A name as the views show it; only for showing: it does not give the bytes back.
QString ShownName(std::string_view name);
// The key of a name in the views' order, appended to `keys`; its bytes compare as the
// names do. Numbers in names compare by value unless `numbersByValue` is false. Names
// with equal keys are ordered by bytes. Safe on any thread.
void AppendNameKey(std::string_view name, std::string& keys, bool numbersByValue = true);
std::string NameKey(std::string_view name, bool numbersByValue = true);
// -1, 0 or 1: the views' order of two names, by key and then by bytes.
int CompareNames(std::string_view keyA, std::string_view a, std::string_view keyB, std::string_view b);

// Rows [first, last].
struct TRowRun {
  int first = 0;
  int last = 0;
  bool operator==(const TRowRun&) const = default;
};

// How the rows named `before` become the rows named `after` (unique names, each list
// in the view's order): the runs to remove, last first, then the runs to insert, at
// their places in `after`, first first. A row whose name stays is kept, so it keeps
// its selection and whatever hangs below it; when the names that stay come in another
// order (a file grew in a list sorted by size), every row is replaced.
struct TRowPlan {
  std::vector<TRowRun> removals;
  std::vector<TRowRun> insertions;
};
TRowPlan PlanRows(const std::vector<std::string_view>& before, const std::vector<std::string_view>& after);

class TListingModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  using QAbstractItemModel::QAbstractItemModel;

 protected:
  // Makes the rows below `parent` those of `fresh`, in its order, by the plan above.
  template <typename Row, typename NameOf>
  void SyncRows(const QModelIndex& parent, std::vector<Row>& rows, std::vector<Row> fresh, NameOf nameOf);
};

template <typename Row, typename NameOf>
void TListingModel::SyncRows(const QModelIndex& parent, std::vector<Row>& rows, std::vector<Row> fresh, NameOf nameOf) {
  if (rows.empty() || fresh.empty()) {
    // Nothing can stay: the rows go or come in one run, without weighing a million names
    // on the window's thread.
    if (!rows.empty()) {
      beginRemoveRows(parent, 0, static_cast<int>(rows.size()) - 1);
      rows.clear();
      endRemoveRows();
    }
    if (!fresh.empty()) {
      beginInsertRows(parent, 0, static_cast<int>(fresh.size()) - 1);
      rows = std::move(fresh);
      endInsertRows();
    }
    return;
  }
  std::vector<std::string_view> before, after;
  before.reserve(rows.size());
  after.reserve(fresh.size());
  for (const Row& row : rows) before.push_back(nameOf(row));
  for (const Row& row : fresh) after.push_back(nameOf(row));
  const TRowPlan plan = PlanRows(before, after);
  for (const TRowRun& run : plan.removals) {
    beginRemoveRows(parent, run.first, run.last);
    rows.erase(rows.begin() + run.first, rows.begin() + run.last + 1);
    endRemoveRows();
  }
  for (const TRowRun& run : plan.insertions) {
    beginInsertRows(parent, run.first, run.last);
    rows.insert(rows.begin() + run.first, std::make_move_iterator(fresh.begin() + run.first),
                std::make_move_iterator(fresh.begin() + run.last + 1));
    endInsertRows();
  }
}

}  // namespace qx
