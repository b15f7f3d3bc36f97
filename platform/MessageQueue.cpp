#include "platform/MessageQueue.h"

#include <deque>
#include <optional>

namespace skyrift::platform {
namespace {
std::deque<Message> queue;
std::optional<int> quitCode;
void (*heldLoopHandler)(const Message&) = nullptr;
}  // namespace

void SetHeldLoopHandler(void (*handler)(const Message& message)) {
  heldLoopHandler = handler;
}

void DeliverQueuedMessages() {
  if (heldLoopHandler == nullptr) return;
  while (!quitCode && !queue.empty()) {
    const Message message = queue.front();
    queue.pop_front();
    heldLoopHandler(message);
  }
}

void PostQuitMessage(int exitCode) {
  quitCode = exitCode;
}

void QueueMessage(const Message& message) {
  queue.push_back(message);
}

bool TakeQueuedMessage(Message& message) {
  if (quitCode) {
    message = Message{MessageKind::Quit, static_cast<uint32_t>(*quitCode)};
    quitCode.reset();
    return true;
  }
  if (queue.empty()) return false;
  message = queue.front();
  queue.pop_front();
  return true;
}

bool QueuedMessageWaiting() {
  return quitCode.has_value() || !queue.empty();
}

}  // namespace skyrift::platform
