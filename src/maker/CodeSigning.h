#pragma once
#include <filesystem>
#include <string>

namespace pixvane::maker {

// The maker's own code-signing certificate and what Windows shows beside
// the signature.
struct TSignOptions {
  std::filesystem::path Pfx;           // the certificate with its private key
  std::filesystem::path PasswordFile;  // its first line is the PFX's password; empty: none
  std::string Description;             // the program's name in the signature; may be empty
  std::string Url;                     // the maker's web address; may be empty
};

// Signs file in place with Authenticode, through osslsigncode: the whole
// file, an appended package included, is covered. The signed file is
// written beside it and takes its name only when osslsigncode succeeded, so
// a failure leaves the file as it was. Fails with EToolError saying why:
// osslsigncode missing, the certificate or password file unreadable, or
// osslsigncode's own complaint.
void SignFile(const std::filesystem::path& file, const TSignOptions& options);

// The checks SignFile makes before it starts, for a caller that would
// rather fail before it makes the file: the certificate and password files
// are there and osslsigncode runs. The same EToolError.
void CheckSigning(const TSignOptions& options);

}  // namespace pixvane::maker
