#pragma once

#include <string>
#include <string_view>

namespace torrenta {

// Writes `bytes` as the whole content of the file `path` names (the name's
// bytes as given, whatever their encoding), the way every saved report is
// written:
// - a regular file, or a name not taken yet, receives a complete file or
//   nothing: the bytes go to a temporary file in the same folder, which then
//   replaces the old one in one step, keeping its permissions;
// - a symbolic link stays a link: the file it leads to (through any chain of
//   links) is the one replaced, beside itself;
// - a FIFO or a character device (a terminal, /dev/stdout) is written into,
//   as is the file this program's own standard output or error goes to;
// - a folder, a block device, a socket or a read-only file is refused.
// InputError "Cannot write "PATH": reason." naming the path as given.
void WriteOutputFile(const std::string& path, std::string_view bytes);

}  // namespace torrenta
