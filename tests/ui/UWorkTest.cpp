// SPDX-License-Identifier: GPL-3.0-or-later
// Work off the window's thread: whatever it returns or throws comes back once, as a
// value or a reason, and stays readable however late the worker lets go of its work.
#include <QSignalSpy>
#include <QtTest/QtTest>
#include <cerrno>
#include <chrono>
#include <functional>
#include <new>
#include <semaphore>
#include <stdexcept>

#include "platform/USystemError.h"
#include "ui/UWork.h"

namespace qx {
namespace {

using namespace std::chrono_literals;

// Held by a work: the worker cannot let go of the work until the gate opens, so the
// outcome is read while the worker still holds it.
struct TGate {
  std::binary_semaphore open{0};
  ~TGate() { open.try_acquire_for(10s); }
};

struct TRow {
  const char* name;
  std::function<int()> work;
  std::optional<int> value;
  std::string failure;
};

}  // namespace

class TWorkTest : public QObject {
  Q_OBJECT

 private slots:
  void eachWorkEndsOnceWithItsValueOrWhyItFailed() {
    const TRow rows[] = {
        {"a value", [] { return 42; }, 42, ""},
        {"a runtime error", []() -> int { throw std::runtime_error("the disk is gone"); }, {}, "the disk is gone"},
        {"too many names",
         []() -> int { throw std::length_error("the names of one folder take more than 4 GiB"); },
         {},
         "the names of one folder take more than 4 GiB"},
        {"no memory", []() -> int { throw std::bad_alloc(); }, {}, "not enough memory"},
        {"a system error",
         []() -> int { throw TSystemError("Cannot read folder", "/x", EACCES); },
         {},
         "Cannot read folder /x: Permission denied"},
        {"no std::exception", []() -> int { throw 7; }, {}, "an unknown error"},
    };
    for (const TRow& row : rows) {
      QFutureWatcher<TWorkOutcome<int>> watcher;
      QSignalSpy ended(&watcher, &QFutureWatcherBase::finished);
      auto gate = std::make_shared<TGate>();
      TGate& held = *gate;
      StartWork(watcher, [work = row.work, gate = std::move(gate)] { return std::make_shared<int>(work()); });
      QVERIFY2(ended.wait(), row.name);
      const auto read = [&] {
        const auto outcome = FinishedWork(watcher);
        if (!outcome) return QString("no outcome");
        return (outcome->value ? QString::number(*outcome->value) : QString("null")) + " / " +
               QString::fromStdString(outcome->failure);
      };
      const QString expected =
          (row.value ? QString::number(*row.value) : QString("null")) + " / " + QString::fromStdString(row.failure);
      QCOMPARE(QString(row.name) + ": " + read(), QString(row.name) + ": " + expected);
      // The worker lets go of the work only now; nothing it does then is another end.
      held.open.release();
      QThreadPool::globalInstance()->waitForDone();
      QCoreApplication::sendPostedEvents();
      QCOMPARE(QString(row.name) + ": " + QString::number(ended.count()), QString(row.name) + ": 1");
      QCOMPARE(QString(row.name) + ": " + read(), QString(row.name) + ": " + expected);
    }
  }
};

}  // namespace qx

QTEST_MAIN(qx::TWorkTest)
#include "UWorkTest.moc"
