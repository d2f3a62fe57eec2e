// The platform operations the launch sequence needs, on Linux. Paths and
// programs come from Counterparts.h.
#pragma once

#include <cstdio>

namespace ventis::self {

// Existence only: links are followed, permissions do not matter.
bool PathExists(const char* path);

// A regular file this process may read (the start path test).
bool IsReadableFile(const char* path);

// Creates the temporary folder, mode 0700. Only root creates it: a folder
// made by anyone else would be refused by every later run as root.
void CreateTempFolder(const char* path);

// Opens the temporary folder for writing into, or returns -1 when it is not
// a real directory (not a link) owned by root that nobody else can write.
int OpenTrustedFolder(const char* path);

// Creates or truncates NAME inside the folder as an executable stream. Never
// follows a link and never takes over a file owned by someone else; returns
// nullptr instead. A running executable cannot be opened for writing
// (ETXTBSY), which is how a second start while the application runs shows up.
std::FILE* CreateExecutableIn(int folder, const char* name);

enum class BoxKind { Error, Warning };

// A modal message with one OK button; waits until it is closed.
void MessageBox(BoxKind kind, const char* caption, const char* text);

// Shows the sentence and waits for a key, in the launcher's own terminal or
// in a terminal window on the desktop. Does nothing when there is neither.
void ShowNoticeAndWaitForKey(const char* sentence);

// Starts PATH without arguments and waits for it to end. Returns false when
// it could not be started; its exit status is not looked at.
bool RunAndWait(const char* path);

// Starts PATH without arguments in its own session and does not wait for it.
// The current directory and the environment are inherited.
void StartDetached(const char* path);

// When not root but on a desktop, starts PACKAGE again through the desktop's
// elevation prompt, with the current directory and display kept, and does
// not return. Returns when there is no such way (the run then goes on and
// fails where it needs the rights).
void ElevateIfNeeded(const char* package);

}  // namespace ventis::self
