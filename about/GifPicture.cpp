#include "about/GifPicture.h"

#include <array>

namespace quorvane {
namespace {

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
  bool Byte(std::uint8_t& out) {
    if (pos_ >= data_.size()) return false;
    out = data_[pos_++];
    return true;
  }
  bool Word(int& out) {
    std::uint8_t lo, hi;
    if (!Byte(lo) || !Byte(hi)) return false;
    out = lo | (hi << 8);
    return true;
  }
  bool Take(size_t n, std::span<const std::uint8_t>& out) {
    if (data_.size() - pos_ < n) return false;
    out = data_.subspan(pos_, n);
    pos_ += n;
    return true;
  }
  // The data sub-blocks that follow an extension or an image, joined.
  bool SubBlocks(std::vector<std::uint8_t>* joined) {
    for (;;) {
      std::uint8_t size;
      if (!Byte(size)) return false;
      if (size == 0) return true;
      std::span<const std::uint8_t> block;
      if (!Take(size, block)) return false;
      if (joined) joined->insert(joined->end(), block.begin(), block.end());
    }
  }

 private:
  std::span<const std::uint8_t> data_;
  size_t pos_ = 0;
};

using Palette = std::vector<std::uint32_t>;

bool ReadPalette(Reader& r, int entries, Palette& out) {
  std::span<const std::uint8_t> raw;
  if (!r.Take(static_cast<size_t>(entries) * 3, raw)) return false;
  out.resize(entries);
  for (int i = 0; i < entries; ++i) {
    out[i] = 0xFF000000u | (raw[3 * i] << 16) | (raw[3 * i + 1] << 8) | raw[3 * i + 2];
  }
  return true;
}

// Variable-length LZW as GIF uses it: codes of minBits + 1 to 12 bits, least
// significant bit first, with clear and end codes.
bool Lzw(const std::vector<std::uint8_t>& in, int minBits, size_t count,
         std::vector<std::uint8_t>& out) {
  if (minBits < 2 || minBits > 8) return false;
  const int clear = 1 << minBits;
  const int end = clear + 1;
  std::array<std::uint16_t, 4096> prefix{};
  std::array<std::uint8_t, 4096> suffix{};
  std::array<std::uint8_t, 4097> stack{};
  for (int i = 0; i < clear; ++i) suffix[i] = static_cast<std::uint8_t>(i);
  int bits = minBits + 1;
  int next = end + 1;
  int previous = -1;
  std::uint8_t first = 0;
  std::uint32_t acc = 0;
  int accBits = 0;
  size_t pos = 0;
  out.clear();
  out.reserve(count);
  while (out.size() < count) {
    while (accBits < bits) {
      if (pos >= in.size()) return false;
      acc |= static_cast<std::uint32_t>(in[pos++]) << accBits;
      accBits += 8;
    }
    const int code = static_cast<int>(acc & ((1u << bits) - 1));
    acc >>= bits;
    accBits -= bits;
    if (code == clear) {
      bits = minBits + 1;
      next = end + 1;
      previous = -1;
      continue;
    }
    if (code == end) break;
    int c = code;
    size_t depth = 0;
    if (previous < 0) {
      if (code >= clear) return false;
      out.push_back(suffix[code]);
      first = suffix[code];
      previous = code;
      continue;
    }
    if (code > next || (code == next && next >= 4096)) return false;
    if (code == next) {  // the string just being defined
      stack[depth++] = first;
      c = previous;
    }
    while (c > end) {
      if (depth >= stack.size() - 1) return false;
      stack[depth++] = suffix[c];
      c = prefix[c];
    }
    if (c >= clear) return false;
    first = suffix[c];
    stack[depth++] = first;
    while (depth > 0 && out.size() < count) out.push_back(stack[--depth]);
    if (next < 4096) {
      prefix[next] = static_cast<std::uint16_t>(previous);
      suffix[next] = first;
      ++next;
      if (next == (1 << bits) && bits < 12) ++bits;
    }
    previous = code;
  }
  return out.size() == count;
}

}  // namespace

std::optional<GifPicture> DecodeGif(std::span<const std::uint8_t> data) {
  Reader r(data);
  std::span<const std::uint8_t> signature;
  if (!r.Take(6, signature)) return std::nullopt;
  const std::array<std::uint8_t, 3> gif = {'G', 'I', 'F'};
  if (!std::equal(gif.begin(), gif.end(), signature.begin())) return std::nullopt;
  const bool v89 = signature[3] == '8' && signature[4] == '9' && signature[5] == 'a';
  const bool v87 = signature[3] == '8' && signature[4] == '7' && signature[5] == 'a';
  if (!v89 && !v87) return std::nullopt;

  GifPicture picture;
  std::uint8_t flags, background, aspect;
  if (!r.Word(picture.width) || !r.Word(picture.height) || !r.Byte(flags) || !r.Byte(background) ||
      !r.Byte(aspect)) {
    return std::nullopt;
  }
  if (picture.width == 0 || picture.height == 0) return std::nullopt;
  Palette global;
  if (flags & 0x80) {
    picture.globalColours = 2 << (flags & 7);
    if (!ReadPalette(r, picture.globalColours, global)) return std::nullopt;
  }
  picture.pixels.assign(static_cast<size_t>(picture.width) * picture.height,
                        background < global.size() ? global[background] : 0u);
  int transparent = -1;
  for (;;) {
    std::uint8_t kind;
    if (!r.Byte(kind)) return std::nullopt;
    if (kind == 0x3B) return std::nullopt;  // the end, and no image before it
    if (kind == 0x21) {
      std::uint8_t label;
      if (!r.Byte(label)) return std::nullopt;
      std::vector<std::uint8_t> body;
      if (!r.SubBlocks(&body)) return std::nullopt;
      if (label == 0xF9 && body.size() >= 4) transparent = (body[0] & 1) ? body[3] : -1;
      continue;
    }
    if (kind != 0x2C) return std::nullopt;
    int left, top, width, height;
    std::uint8_t imageFlags;
    if (!r.Word(left) || !r.Word(top) || !r.Word(width) || !r.Word(height) || !r.Byte(imageFlags)) {
      return std::nullopt;
    }
    Palette local;
    if (imageFlags & 0x80) {
      if (!ReadPalette(r, 2 << (imageFlags & 7), local)) return std::nullopt;
    }
    const Palette& palette = local.empty() ? global : local;
    if (palette.empty() || width == 0 || height == 0) return std::nullopt;
    std::uint8_t minBits;
    std::vector<std::uint8_t> compressed, indices;
    if (!r.Byte(minBits) || !r.SubBlocks(&compressed)) return std::nullopt;
    if (!Lzw(compressed, minBits, static_cast<size_t>(width) * height, indices)) {
      return std::nullopt;
    }
    // Interlaced rows come in four passes: every 8th from 0, every 8th from
    // 4, every 4th from 2, every 2nd from 1.
    std::vector<int> rowOrder;
    rowOrder.reserve(height);
    if (imageFlags & 0x40) {
      const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass) {
        for (int y = starts[pass]; y < height; y += steps[pass]) rowOrder.push_back(y);
      }
    } else {
      for (int y = 0; y < height; ++y) rowOrder.push_back(y);
    }
    for (int row = 0; row < height; ++row) {
      const int y = top + rowOrder[row];
      if (y >= picture.height) continue;
      for (int x = 0; x < width; ++x) {
        if (left + x >= picture.width) break;
        const std::uint8_t index = indices[static_cast<size_t>(row) * width + x];
        if (index == transparent) {
          picture.pixels[static_cast<size_t>(y) * picture.width + left + x] = 0;
        } else if (index < palette.size()) {
          picture.pixels[static_cast<size_t>(y) * picture.width + left + x] = palette[index];
        } else {
          return std::nullopt;
        }
      }
    }
    return picture;
  }
}

}  // namespace quorvane
