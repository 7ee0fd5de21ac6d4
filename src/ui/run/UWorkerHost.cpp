// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/UWorkerHost.h"

#include <QObject>
#include <condition_variable>
#include <utility>

#include "ui/UQtText.h"
#include "ui/UWindowMessages.h"

namespace qx {

namespace {

// Often enough for the figures to move smoothly, rarely enough that a run of a hundred
// thousand files costs the window a few dozen passes a second, not one per file.
constexpr std::chrono::milliseconds kNewsInterval{40};

// A question with an answer of type T, which the worker waits for.
template <typename T>
class TAnswerOf final : public TWorkerQuestion, public std::enable_shared_from_this<TAnswerOf<T>> {
 public:
  using TAsk = std::function<void(TWindowMessages&, std::function<void(T)>)>;
  TAnswerOf(T escape, TAsk ask) : m_escape(escape), m_ask(std::move(ask)) {}

  void Ask(TWindowMessages& messages, std::function<void()> closed) override {
    m_ask(messages, [self = this->shared_from_this(), closed = std::move(closed)](T answer) {
      self->Give(answer);
      closed();
    });
  }
  void Dismiss() override { Give(m_escape); }
  T Wait() {
    std::unique_lock lock(m_lock);
    while (!m_answer) m_given.wait(lock);
    return *m_answer;
  }

 private:
  void Give(T answer) {
    {
      const std::lock_guard lock(m_lock);
      if (m_answer) return;
      m_answer = answer;
    }
    m_given.notify_one();
  }

  const T m_escape;
  const TAsk m_ask;
  std::mutex m_lock;
  std::condition_variable m_given;
  std::optional<T> m_answer;
};

}  // namespace

void TCancellation::Request() {
  m_requested = true;
  const std::lock_guard lock(m_lock);
  if (m_waiting) m_waiting->Dismiss();
}

void TCancellation::Hold(std::shared_ptr<TWorkerQuestion> question) {
  const std::lock_guard lock(m_lock);
  // Request sets the flag before it looks here: one of the two dismisses the question.
  if (m_requested) question->Dismiss();
  m_waiting = std::move(question);
}

void TCancellation::Release() {
  const std::lock_guard lock(m_lock);
  m_waiting.reset();
}

struct TWorkerHost::TNewsBox {
  std::mutex lock;
  TWorkerNews news;
  bool queued = false;

  TWorkerNews Take() {
    const std::lock_guard guard(lock);
    queued = false;
    return std::exchange(news, {});
  }
};

TWorkerHost::TWorkerHost(QObject& context, TWorkerWindow& window, TCancellation& cancellation)
    : m_context(context), m_window(window), m_cancellation(cancellation), m_news(std::make_shared<TNewsBox>()) {}

template <typename T, typename TAsk>
T TWorkerHost::Ask(T escape, TAsk ask) {
  if (CancelRequested()) return escape;
  auto question = std::make_shared<TAnswerOf<T>>(escape, std::move(ask));
  m_cancellation.Hold(question);
  // After the news: while the box waits, the window shows where the run stands.
  Post([&window = m_window, question] { window.Ask(question); });
  const T answer = question->Wait();
  m_cancellation.Release();
  return answer;
}

// A message's answer is only that it has been seen.
void TWorkerHost::ShowMessage(const std::string& text) {
  Ask(true, [text](TWindowMessages& messages, const std::function<void(bool)>& seen) {
    messages.ShowMessageThen(text, [seen] { seen(true); });
  });
}

bool TWorkerHost::Confirm(const std::string& text) {
  return Ask(false, [text](TWindowMessages& messages, const std::function<void(bool)>& answered) {
    messages.ConfirmThen(text, answered);
  });
}

void TWorkerHost::ShowFailure(const std::string& text, const std::string& reason) {
  Ask(true, [text, reason](TWindowMessages& messages, const std::function<void(bool)>& seen) {
    messages.ShowFailureThen(text, reason, [seen] { seen(true); });
  });
}

TRenameAnswer TWorkerHost::AskRename(const std::string& question) {
  return Ask(TRenameAnswer::No, [question](TWindowMessages& messages, const auto& answered) {
    messages.AskRenameThen(question, answered);
  });
}

TFailureAnswer TWorkerHost::ShowRunFailure(const std::string& text, const std::string& reason) {
  return Ask(TFailureAnswer::Ok, [text, reason](TWindowMessages& messages, const auto& answered) {
    messages.ShowRunFailureThen(text, reason, answered);
  });
}

void TWorkerHost::AddLogLine(const std::string& line) {
  // Made here: the window's thread only appends it.
  QString text = ToQString(line);
  const std::lock_guard lock(m_news->lock);
  m_news->news.logLines << std::move(text);
  PostNewsLocked();
}

void TWorkerHost::SetCurrentItem(const std::string& item) {
  QString text = ToQString(item);
  const std::lock_guard lock(m_news->lock);
  m_news->news.currentItem = std::move(text);
  PostNewsLocked();
}

void TWorkerHost::UpdateProgress(const TRunState& state) {
  const std::lock_guard lock(m_news->lock);
  m_news->news.state = state;
  PostNewsLocked();
}

void TWorkerHost::EntryDone(const TEntryOutcome& outcome) {
  if (m_followed && outcome.status == TEntryStatus::Renamed) {
    m_followed->Renamed(outcome.folder.Text(), outcome.oldName, outcome.newName);
  }
}

void TWorkerHost::Post(std::function<void()> call) {
  QMetaObject::invokeMethod(
      &m_context,
      [news = m_news, &window = m_window, call = std::move(call)] {
        window.ShowNews(news->Take());
        call();
      },
      Qt::QueuedConnection);
}

void TWorkerHost::PostNewsLocked() {
  if (m_news->queued) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - m_lastPost < kNewsInterval) return;
  m_news->queued = true;
  m_lastPost = now;
  Post([] {});
}

}  // namespace qx
