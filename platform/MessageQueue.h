// The messages a layer has already turned into the engine's, waiting their turn, behind the
// quit the program asked for (PostQuitMessage), which always comes first.
#pragma once

#include "platform/Window.h"

namespace skyrift::platform {

void QueueMessage(const Message& message);
// Takes the quit, else the oldest queued message; false when neither is waiting.
bool TakeQueuedMessage(Message& message);
bool QueuedMessageWaiting();
// Hands the queued messages, in order, to the held-loop handler at once, while the system holds
// the engine's loop; without a handler, or with a quit waiting, they wait their turn.
void DeliverQueuedMessages();

}  // namespace skyrift::platform
