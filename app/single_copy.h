// One running copy per store: the first copy holds the store's lock for its life (the registry's
// claim) and listens on a local socket named after the store's lock file; a second desktop launch
// on the same store asks it to raise its window and ends.
#pragma once

#include <string>

// The socket's address for the store whose lock file has this identity: a file in
// $XDG_RUNTIME_DIR when that is an absolute path of this user's (and the name fits), else a name
// in the abstract namespace.
std::string RaiseChannelName(const std::string& identity);

// Asks the copy listening on `identity` to raise its window; true when it said it did.
bool AskRunningCopyToRaise(const std::string& identity);

// Listens on a thread of its own; `raise` runs on that thread for each request from this user.
bool ListenForRaiseRequests(const std::string& identity, void (*raise)());
// Stops listening and removes the socket's file.
void StopListeningForRaiseRequests();
