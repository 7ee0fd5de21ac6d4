// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UTermSignal.h"

#include <QSocketNotifier>

namespace qx {

TTermSignal::TTermSignal(std::function<void()> onTerm, QObject* parent) : QObject(parent), m_onTerm(std::move(onTerm)) {
  m_notifier = new QSocketNotifier(m_pipe.Descriptor(), QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, [this] {
    m_pipe.Acknowledge();
    m_onTerm();
  });
}

TTermSignal::~TTermSignal() = default;

}  // namespace qx
