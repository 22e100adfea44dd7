#include "host/com.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace com {

bool operator==(const Guid& a, const Guid& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
         std::memcmp(a.Data4, b.Data4, sizeof a.Data4) == 0;
}

std::string ToString(const Guid& g) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1,
                g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                g.Data4[5], g.Data4[6], g.Data4[7]);
  return buf;
}

std::optional<Guid> ParseGuid(const std::string& text) {
  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
  static const char kShape[] = "{........-....-....-....-............}";
  if (text.size() != sizeof kShape - 1) return std::nullopt;
  std::string hex;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (kShape[i] != '.') {
      if (c != kShape[i]) return std::nullopt;
      continue;
    }
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    hex += c;
  }
  auto part = [&](std::size_t at, std::size_t n) {
    return static_cast<std::uint32_t>(std::stoul(hex.substr(at, n), nullptr, 16));
  };
  Guid g;
  g.Data1 = part(0, 8);
  g.Data2 = static_cast<std::uint16_t>(part(8, 4));
  g.Data3 = static_cast<std::uint16_t>(part(12, 4));
  for (int i = 0; i < 8; ++i)
    g.Data4[i] = static_cast<std::uint8_t>(part(16 + 2 * i, 2));
  return g;
}

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

HRESULT HResultOf(long number) {
  return static_cast<HRESULT>(0x800A0000u | (static_cast<std::uint32_t>(number) & 0xFFFFu));
}

long ErrorNumberOf(HRESULT hr) {
  auto u = static_cast<std::uint32_t>(hr);
  if ((u & 0xFFFF0000u) == 0x800A0000u) return static_cast<long>(u & 0xFFFFu);
  return hr;
}

namespace {
thread_local std::optional<vb::Error> t_error;
}

HRESULT SetError(const vb::Error& error) {
  t_error = error;
  if (error.Number < 0) return static_cast<HRESULT>(error.Number);  // already an HRESULT
  return error.Number > 0 && error.Number <= 0xFFFF ? HResultOf(error.Number) : E_FAIL;
}

vb::Error TakeError(HRESULT hr) {
  if (t_error) {
    vb::Error e = *t_error;
    t_error.reset();
    return e;
  }
  return vb::Error(ErrorNumberOf(hr), "", "Automation error");
}

}  // namespace com
