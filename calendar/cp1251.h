#pragma once
// Windows-1251 codec. The core keeps all text as Windows-1251 bytes in
// std::string; Unicode appears only where text enters a widget or a terminal.
//
// Decoding: every byte maps to one Unicode scalar; the one unassigned byte 0x98
// decodes to U+FFFD (REPLACEMENT CHARACTER), so a stray 0x98 in a database file
// shows up visibly instead of vanishing. Encoding: characters that Windows-1251
// lacks (U+FFFD included) become '?'.
//
// Source files are UTF-8. Russian literals become Windows-1251 at compile time
// through the _cp suffix: "Воскресенье"_cp is a std::string_view of the
// Windows-1251 bytes; a character outside the code page fails the build.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>

namespace velmar {

namespace cp1251_detail {

// Unicode scalars of the bytes 0x80..0xFF; 0xFFFD marks the unassigned 0x98.
inline constexpr std::array<char32_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

// Byte for a Unicode scalar, or -1 when Windows-1251 has none.
constexpr int EncodeScalar(char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  if (c == 0xFFFD) return -1;
  if (c >= 0x0410 && c <= 0x044F) return static_cast<int>(c - 0x0410 + 0xC0);
  for (std::size_t i = 0; i < kHighHalf.size(); ++i)
    if (kHighHalf[i] == c) return static_cast<int>(0x80 + i);
  return -1;
}

// Held as unsigned bytes: some compilers mishandle negative chars in a
// template argument.
template <std::size_t N>
struct Utf8Literal {
  unsigned char bytes[N]{};
  constexpr Utf8Literal(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) bytes[i] = static_cast<unsigned char>(s[i]);
  }
};

template <std::size_t N>
struct EncodedLiteral {
  char bytes[N]{};  // Windows-1251, zero-terminated; never longer than the UTF-8
  std::size_t size = 0;
};

template <std::size_t N>
consteval EncodedLiteral<N> EncodeLiteral(const Utf8Literal<N>& in) {
  EncodedLiteral<N> out;
  std::size_t i = 0;
  while (i + 1 < N) {  // the last byte is the terminator
    const unsigned char b0 = in.bytes[i];
    char32_t c = 0;
    std::size_t extra = 0;
    if (b0 < 0x80) { c = b0; }
    else if ((b0 & 0xE0) == 0xC0) { c = b0 & 0x1F; extra = 1; }
    else if ((b0 & 0xF0) == 0xE0) { c = b0 & 0x0F; extra = 2; }
    else if ((b0 & 0xF8) == 0xF0) { c = b0 & 0x07; extra = 3; }
    else throw "invalid UTF-8 in a Windows-1251 literal";
    for (std::size_t k = 1; k <= extra; ++k)
      c = (c << 6) | (in.bytes[i + k] & 0x3F);
    i += extra + 1;
    const int byte = EncodeScalar(c);
    if (byte < 0) throw "character outside Windows-1251 in a literal";
    out.bytes[out.size++] = static_cast<char>(byte);
  }
  out.bytes[out.size] = '\0';
  return out;
}

}  // namespace cp1251_detail

namespace cp1251_detail {

// The literal's characters as a pack: clang 14 crashes on diagnostics that
// print a class-type template argument holding an array, and a pack of chars
// is printed safely.
template <char... C>
consteval auto EncodePack() {
  const char text[] = {C..., '\0'};
  return EncodeLiteral(Utf8Literal<sizeof...(C) + 1>(text));
}
template <char... C>
inline constexpr auto kPacked = EncodePack<C...>();

}  // namespace cp1251_detail

// "текст"_cp: the Windows-1251 bytes of a UTF-8 source literal, zero-terminated.
// (A string literal operator template over a pack of chars, which GCC and
// Clang both accept.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wgnu-string-literal-operator-template"
#endif
template <typename Char, Char... C>
constexpr std::string_view operator""_cp() {
  static_assert(std::is_same_v<Char, char>, "_cp takes narrow (UTF-8) literals");
  return {cp1251_detail::kPacked<C...>.bytes, cp1251_detail::kPacked<C...>.size};
}
#pragma GCC diagnostic pop

// Unicode scalar of a Windows-1251 byte (0x98 gives U+FFFD).
constexpr char32_t Cp1251ToScalar(unsigned char byte) {
  return byte < 0x80 ? char32_t{byte} : cp1251_detail::kHighHalf[byte - 0x80];
}

// Windows-1251 bytes to UTF-8.
std::string Cp1251ToUtf8(std::string_view text);

// UTF-8 to Windows-1251; characters outside the code page and malformed
// sequences become '?'.
std::string Utf8ToCp1251(std::string_view text);

// Appends the UTF-8 form of a Unicode scalar.
void AppendUtf8(std::string& out, char32_t scalar);

}  // namespace velmar
