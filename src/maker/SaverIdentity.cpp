#include "maker/SaverIdentity.h"

#include <cstdio>
#include <random>
#include <vector>

#include "base/CodePage.h"
#include "base/Paths.h"
#include "maker/ToolError.h"

namespace pixvane::maker {

namespace {

// SHA-1, only for name-based identifiers: nothing here relies on it
// resisting collisions, it only has to give what every other tool gives.
std::array<uint8_t, 20> Sha1(const std::vector<uint8_t>& message) {
  uint32_t h[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  std::vector<uint8_t> data = message;
  uint64_t bits = static_cast<uint64_t>(message.size()) * 8;
  data.push_back(0x80);
  while (data.size() % 64 != 56) data.push_back(0);
  for (int i = 7; i >= 0; --i) data.push_back(static_cast<uint8_t>(bits >> (i * 8)));
  auto rotl = [](uint32_t x, int n) { return (x << n) | (x >> (32 - n)); };
  for (size_t block = 0; block < data.size(); block += 64) {
    uint32_t w[80];
    for (int i = 0; i < 16; ++i)
      w[i] = (uint32_t{data[block + 4 * i]} << 24) | (uint32_t{data[block + 4 * i + 1]} << 16) |
             (uint32_t{data[block + 4 * i + 2]} << 8) | uint32_t{data[block + 4 * i + 3]};
    for (int i = 16; i < 80; ++i) w[i] = rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
    for (int i = 0; i < 80; ++i) {
      uint32_t f, k;
      if (i < 20) {
        f = (b & c) | (~b & d), k = 0x5A827999;
      } else if (i < 40) {
        f = b ^ c ^ d, k = 0x6ED9EBA1;
      } else if (i < 60) {
        f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
      } else {
        f = b ^ c ^ d, k = 0xCA62C1D6;
      }
      uint32_t t = rotl(a, 5) + f + e + k + w[i];
      e = d, d = c, c = rotl(b, 30), b = a, a = t;
    }
    h[0] += a, h[1] += b, h[2] += c, h[3] += d, h[4] += e;
  }
  std::array<uint8_t, 20> digest;
  for (int i = 0; i < 20; ++i) digest[i] = static_cast<uint8_t>(h[i / 4] >> (24 - 8 * (i % 4)));
  return digest;
}

TUuid WithVersion(TUuid uuid, int version) {
  uuid[6] = static_cast<uint8_t>((uuid[6] & 0x0F) | (version << 4));
  uuid[8] = static_cast<uint8_t>((uuid[8] & 0x3F) | 0x80);  // the RFC 4122 variant
  return uuid;
}

// The namespace of saver identities: a random identifier fixed once for
// Pixvane, so no other program's names can give the same identifiers.
constexpr TUuid SaverNamespace = {0x5c, 0x1e, 0x8a, 0x3d, 0x72, 0x4b, 0x4f, 0x06,
                                  0x9b, 0xd2, 0x61, 0x0e, 0xa4, 0x37, 0xc8, 0x95};

}  // namespace

std::string UuidText(const TUuid& uuid) {
  std::string text;
  char hex[3];
  for (size_t i = 0; i < uuid.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    std::snprintf(hex, sizeof hex, "%02X", uuid[i]);
    text += hex;
  }
  return text;
}

TUuid NameUuid(const TUuid& nameSpace, const std::string& name) {
  std::vector<uint8_t> message(nameSpace.begin(), nameSpace.end());
  message.insert(message.end(), name.begin(), name.end());
  std::array<uint8_t, 20> digest = Sha1(message);
  TUuid uuid;
  std::copy(digest.begin(), digest.begin() + 16, uuid.begin());
  return WithVersion(uuid, 5);
}

TUuid RandomUuid() {
  std::random_device device;
  TUuid uuid;
  for (uint8_t& byte : uuid) byte = static_cast<uint8_t>(device());
  return WithVersion(uuid, 4);
}

std::string TSaverIdentity::KeyName() const {
  return "Pixvane." + UuidText(Key);
}

TSaverIdentity SaverIdentity(const std::filesystem::path& saver, const TSSFileLocations& settings) {
  TSaverIdentity identity;
  identity.Name = Utf8FromPath(saver.stem());
  if (!IsPlainFileName(identity.Name) || identity.Name.back() == '.' || identity.Name.back() == ' ')
    throw EToolError(PathForMessage(saver) +
                     ": the saver's file name cannot be installed on Windows; rename it");
  identity.Title = AnsiToUtf8(settings.Title);
  identity.Author = AnsiToUtf8(settings.Author);
  identity.Web = AnsiToUtf8(settings.Web);
  // Title and author, as the maker sees them in the setup dialog: a newer
  // build keeps both, another saver of the same maker has another title.
  // The title's length goes first, so no two pairs give one name.
  identity.Key = NameUuid(SaverNamespace, std::to_string(identity.Title.size()) + ":" +
                                              identity.Title + identity.Author);
  return identity;
}

}  // namespace pixvane::maker
