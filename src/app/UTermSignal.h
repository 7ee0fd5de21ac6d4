// SIGTERM as an ordinary event of the user-interface thread, so that a terminating
// session closes the main window the same way the user would. Only one may exist.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace qx {

class TTermSignal : public QObject {
  Q_OBJECT

 public:
  // `onTerm` runs on the thread that created this object; throws std::runtime_error
  // when the signal cannot be caught.
  explicit TTermSignal(std::function<void()> onTerm, QObject* parent = nullptr);
  ~TTermSignal() override;

 private:
  std::function<void()> m_onTerm;
  QSocketNotifier* m_notifier;
};

}  // namespace qx
