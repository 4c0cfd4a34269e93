#pragma once
// What writing a file safely asks of the system that the C++ library does not
// give: the permissions of a temporary file, flushing to disk, and replacing
// a file by another in one step that lasts through a power cut.

#include <filesystem>
#include <string>

namespace veltra::platform {

// The program keeps every file name in UTF-8. Windows takes names as UTF-16
// only: a name reaches the system through the path made here, and comes
// back from it through Utf8Name, so that a folder such as "Società" works.
std::filesystem::path FilePath(const std::string& utf8);
std::string Utf8Name(const std::filesystem::path& path);

// Creates and opens for writing a new file named after pattern, whose last
// six characters "XXXXXX" are replaced to make the name unused, as mkstemp
// does; -1 when it cannot.
int CreateTemporaryFile(std::string& pattern);

// Gives a file made by mkstemp, which only its owner may read, the
// permissions a file created the ordinary way gets.
bool GiveOrdinaryFileMode(int fd);
// Waits until what was written through fd is on the disk.
bool SyncToDisk(int fd);
// The same for a file another part of the program wrote and closed.
bool SyncFileAt(const std::string& path);
// Puts the file at from in the place of the one at to, which may exist;
// false, with both as they were, when the system refuses.
bool ReplaceFile(const std::string& from, const std::string& to);
// Makes the names just created or replaced in the folder of path last
// through a power cut.
void SyncFolderOf(const std::string& path);

// Why the system refuses the file at path, as a sentence to add to the
// message of a failed open, create or write, when the reason is one the user
// can act on and the name alone does not show: on Windows a name holding a
// character Windows never takes, or a file another program holds open.
// Empty when there is no such reason.
std::string WhyFileRefused(const std::string& path);

}  // namespace veltra::platform
