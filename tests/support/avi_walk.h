// A small RIFF walker for the tests of the AVI writer and the clip
// download: reads an AVI file back into its chunk tree, its frames in file
// order and its index, and reports the first structural fault it finds.
// A RIFF or 'movi' size of 0 is an open size (a file written where the
// output could not seek): the list then runs to the end of the data, or for
// 'movi' to the 'idx1' chunk.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct AviWalk {
  struct Frame {
    std::string id;       // "00dc" or "01wb"
    uint32_t offset = 0;  // from the 'movi' FourCC to the chunk's FourCC
    std::string data;
  };
  struct Entry {
    std::string id;
    uint32_t flags = 0, offset = 0, size = 0;
  };
  std::string error;              // empty when the file is sound
  std::vector<std::string> tree;  // chunk paths in file order, e.g. "hdrl/strl/strh"
  uint32_t riff_size = 0, movi_size = 0;
  std::string avih;                  // the main header's bytes
  std::vector<std::string> strh, strf;  // per stream
  std::vector<Frame> frames;
  std::vector<Entry> index;
};

inline uint32_t avi_u32(const std::string &b, size_t at) {
  uint32_t v = 0;
  if (at + 4 <= b.size()) memcpy(&v, b.data() + at, 4);
  return v;
}
inline uint16_t avi_u16(const std::string &b, size_t at) {
  uint16_t v = 0;
  if (at + 2 <= b.size()) memcpy(&v, b.data() + at, 2);
  return v;
}

namespace avi_walk_detail {

struct Walker {
  const std::string &b;
  AviWalk &out;
  size_t movi_at = 0;  // offset of the 'movi' FourCC

  bool fail(const std::string &why, size_t at) {
    if (out.error.empty()) out.error = why + " at byte " + std::to_string(at);
    return false;
  }

  // Walks the chunks in [at, end) under `path`.
  bool walk(size_t at, size_t end, const std::string &path, bool in_movi) {
    while (at < end) {
      if (end - at < 8) return fail("truncated chunk header", at);
      std::string id = b.substr(at, 4);
      if (in_movi && id == "idx1") return true;  // an open 'movi' ends at the index
      uint32_t size = avi_u32(b, at + 4);
      size_t body = at + 8;
      if (size > end - body) return fail("chunk " + id + " overruns its list", at);
      size_t next = body + size + (size & 1);
      if (next > end) return fail("chunk " + id + " has no pad byte", at);
      if ((size & 1) && b[body + size] != '\0') return fail("pad byte not zero", at);
      if (!chunk(id, body, size, path, in_movi)) return false;
      at = next;
    }
    return true;
  }

  bool chunk(const std::string &id, size_t body, uint32_t size, const std::string &path,
             bool in_movi) {
    std::string name = path.empty() ? id : path + "/" + id;
    if (id == "LIST") {
      if (size < 4) return fail("short LIST", body);
      std::string type = b.substr(body, 4);
      name = path.empty() ? type : path + "/" + type;
      out.tree.push_back(name);
      return walk(body + 4, body + size, name, false);
    }
    out.tree.push_back(name);
    std::string data = b.substr(body, size);
    if (name == "hdrl/avih") out.avih = data;
    if (name == "hdrl/strl/strh") out.strh.push_back(data);
    if (name == "hdrl/strl/strf") out.strf.push_back(data);
    if (in_movi) out.frames.push_back({id, (uint32_t)(body - 8 - movi_at), data});
    if (id == "idx1") {
      if (size % 16) return fail("index size not a multiple of 16", body);
      for (size_t e = body; e < body + size; e += 16) {
        out.index.push_back({b.substr(e, 4), avi_u32(b, e + 4), avi_u32(b, e + 8),
                             avi_u32(b, e + 12)});
      }
    }
    return true;
  }

  // 'movi' may be open; everything else must state its size.
  bool movi(size_t at, size_t end) {
    out.tree.push_back("movi");
    out.movi_size = avi_u32(b, at + 4);
    movi_at = at + 8;
    size_t stop = out.movi_size == 0 ? end : at + 8 + out.movi_size;
    if (stop > end) return fail("movi overruns the file", at);
    size_t frames_end = stop;
    if (!walk(at + 12, stop, "movi", true)) return false;
    if (out.movi_size == 0) {  // find where the chunks ended: at 'idx1'
      size_t p = at + 12;
      for (const auto &f : out.frames) p = movi_at + f.offset + 8 + f.data.size() + (f.data.size() & 1);
      frames_end = p;
    }
    return walk(frames_end, end, "", false);
  }

  bool file() {
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "AVI ") != 0) {
      return fail("not a RIFF AVI file", 0);
    }
    out.riff_size = avi_u32(b, 4);
    size_t end = out.riff_size == 0 ? b.size() : 8 + (size_t)out.riff_size;
    if (end > b.size()) return fail("RIFF size beyond the data", 4);
    if (end != b.size()) return fail("bytes after the RIFF", end);
    // Everything before 'movi' must state its size; 'movi' may be open.
    for (size_t at = 12; at < end;) {
      if (end - at < 12) return fail("truncated chunk header", at);
      if (b.compare(at, 4, "LIST") == 0 && b.compare(at + 8, 4, "movi") == 0) {
        return movi(at, end);
      }
      uint32_t size = avi_u32(b, at + 4);
      size_t next = at + 8 + size + (size & 1);
      if (next > end) return fail("chunk overruns the file", at);
      if (!walk(at, next, "", false)) return false;
      at = next;
    }
    return fail("no movi list", end);
  }
};

}  // namespace avi_walk_detail

inline AviWalk walk_avi(const std::string &bytes) {
  AviWalk out;
  avi_walk_detail::Walker w{bytes, out};
  w.file();
  return out;
}
