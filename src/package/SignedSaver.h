#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace pixvane {

class TStream;

// A saver signed with Authenticode carries the signature's certificate
// table after its package: the executable's security directory (the fifth
// data directory of the PE optional header) gives the table's file offset
// and size, and the signing tool pads the file with up to 7 zero bytes so
// the table starts on an 8-byte boundary. The package's trailer then ends
// before that padding, not at the end of the file. Offsets inside the
// package stay absolute, and signing changes nothing before the table but
// the header's checksum and that directory entry, which no reader uses.

// Where the package's trailer ends: the file's size for an unsigned saver
// and for a file that is no executable at all; for a signed saver the start
// of its certificate table, less the padding. A file without a PE header we
// know is read as it is. Nothing when the PE header's sizes lead outside it
// or the file, or its security directory points anywhere but at a table
// that ends the file: such a file is damaged. Nothing beyond the file's end
// is ever read.
std::optional<int64_t> PackageEnd(TStream& file);

// The file as a package reader sees it: up to PackageEnd, positions as in
// the file. When PackageEnd refuses it, a stream whose every read fails
// with "Stream read error" (its size 0), so every reader takes it for a
// damaged package: the saver ends silently, the setup dialog reports the
// error, the preview draws nothing.
std::unique_ptr<TStream> PackageView(std::unique_ptr<TStream> file);

// Opens a saver read-only (as TFileStream::OpenRead, with its failures) and
// gives PackageView of it.
std::unique_ptr<TStream> OpenSaver(const std::string& path);
std::unique_ptr<TStream> OpenSaver(const std::filesystem::path& path);

}  // namespace pixvane
