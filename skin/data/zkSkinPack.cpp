#include "skin/data/zkSkinPack.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "skin/data/zkSkinText.h"

const char* const kNotPackedSkinMessage = "Loaded data is not packed OrvexSkin file";

namespace {

constexpr char kMagic[4] = {'Q', 'R', 'v', 'k'};
// Smallest possible entry: name length, size, and a zlib stream of an empty input
// (2-byte header, 2-byte empty final block, 4-byte Adler-32).
constexpr size_t kMinEntryBytes = 4 + 4 + 8;

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

uint32_t ReadU32(TzkMemoryStream& s, const std::string& what) {
  uint8_t b[4];
  if (s.Read(b, 4) != 4) throw EzkSkinError("Skin archive ends inside " + what);
  return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

void AppendU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

bool IsOptionsName(const std::string& name) { return UpperCase(name) == "OPTIONS.DAT"; }

bool HasBmpExtension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot != std::string::npos && UpperCase(name.substr(dot)) == ".BMP";
}

}  // namespace

// [SECTION] Memory stream

TzkMemoryStream::TzkMemoryStream(std::vector<uint8_t> owned)
    : owned_(std::move(owned)), data_(owned_.data()), size_(owned_.size()) {}

size_t TzkMemoryStream::Read(void* buffer, size_t count) {
  const size_t n = std::min(count, Remaining());
  if (n > 0) std::memcpy(buffer, data_ + position_, n);
  position_ += n;
  return n;
}

// [SECTION] Streaming inflater

struct TzkInflater::State {
  z_stream z{};
};

TzkInflater::TzkInflater(TzkMemoryStream& source, size_t chunkBytes)
    : source_(source), chunkBytes_(std::clamp<size_t>(chunkBytes, 1, 1u << 30)), state_(new State) {
  if (inflateInit(&state_->z) != Z_OK) throw EzkSkinError("Cannot start the skin archive inflater");
}

TzkInflater::~TzkInflater() { inflateEnd(&state_->z); }

size_t TzkInflater::Step(uint8_t* out, size_t count, const std::string& what) {
  z_stream& z = state_->z;
  if (z.avail_in == 0) {
    const size_t got = std::min(chunkBytes_, source_.Remaining());
    if (got == 0) throw EzkSkinError("Skin archive ends inside entry " + what);
    z.next_in = const_cast<Bytef*>(source_.Data() + source_.Position());
    z.avail_in = uInt(got);
    source_.SetPosition(source_.Position() + got);
  }
  z.next_out = out;
  z.avail_out = uInt(count);
  const int rc = inflate(&z, Z_NO_FLUSH);
  const size_t produced = count - z.avail_out;
  if (rc == Z_STREAM_END) {
    ended_ = true;
    // The bytes of this chunk past the stream's end belong to the next entry.
    source_.SetPosition(source_.Position() - z.avail_in);
    z.avail_in = 0;
  } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
    throw EzkSkinError("Skin archive entry " + what + " is damaged: " +
                       (z.msg ? z.msg : "compressed data error"));
  }
  return produced;
}

void TzkInflater::ReadExactly(uint8_t* out, size_t count, const std::string& what) {
  size_t done = 0;
  while (done < count) {
    if (ended_)
      throw EzkSkinError("Skin archive entry " + what + " holds " + std::to_string(done) +
                         " bytes, fewer than the " + std::to_string(count) + " its size says");
    done += Step(out + done, count - done, what);
  }
}

void TzkInflater::ReadExactly(std::vector<uint8_t>& out, size_t count, const std::string& what) {
  constexpr size_t kStep = size_t(1) << 20;
  out.clear();
  while (out.size() < count) {
    const size_t done = out.size();
    const size_t next = std::min(count, std::max(kStep, done * 2));
    out.resize(next);
    size_t filled = done;
    while (filled < next) {
      if (ended_) {
        out.resize(filled);
        throw EzkSkinError("Skin archive entry " + what + " holds " + std::to_string(filled) +
                           " bytes, fewer than the " + std::to_string(count) + " its size says");
      }
      filled += Step(out.data() + filled, next - filled, what);
    }
  }
}

void TzkInflater::Finish(const std::string& what) {
  uint8_t scratch[64];
  while (!ended_) {
    if (Step(scratch, sizeof scratch, what) > 0)
      throw EzkSkinError("Skin archive entry " + what + " holds more bytes than its size says");
  }
}

// [SECTION] Reader

void TzkSkinConvertor::SetSource(const uint8_t* data, size_t size) {
  source_ = std::make_unique<TzkMemoryStream>(data, size);
}

void TzkSkinConvertor::SetOwnedSource(std::vector<uint8_t> bytes) {
  source_ = std::make_unique<TzkMemoryStream>(std::move(bytes));
}

void TzkSkinConvertor::ReleaseSource() { source_.reset(); }

void TzkSkinConvertor::Clear() {
  while (!images_.empty()) images_.pop_back();  // last to first
  entries_.clear();
  options_.clear();
  options_.shrink_to_fit();
  hasOptions_ = false;
  source_.reset();
}

void TzkSkinConvertor::Parse() {
  TzkMemoryStream empty;
  TzkMemoryStream& s = source_ ? *source_ : empty;
  s.SetPosition(0);
  char magic[4];
  if (s.Read(magic, 4) != 4 || std::memcmp(magic, kMagic, 4) != 0) {
    Clear();
    throw EzkNotPackedSkin(kNotPackedSkinMessage);
  }
  const int32_t count = int32_t(ReadU32(s, "its entry count"));
  if (count <= 0) return;
  if (uint32_t(count) > kMaxArchiveEntries || uint64_t(count) * kMinEntryBytes > s.Remaining())
    throw EzkSkinError("Skin archive claims " + std::to_string(count) + " entries but holds only " +
                       std::to_string(s.Remaining()) + " bytes of entries");
  size_t inflatedTotal = 0;
  for (int32_t i = 0; i < count; ++i) ParseEntry(uint32_t(i), inflatedTotal);
}

void TzkSkinConvertor::ParseEntry(uint32_t index, size_t& inflatedTotal) {
  TzkMemoryStream& s = *source_;
  const std::string header = "the header of entry " + std::to_string(index + 1);
  const uint32_t nameLength = ReadU32(s, header);
  if (nameLength > kMaxEntryNameLength || nameLength > s.Remaining())
    throw EzkSkinError("Skin archive entry " + std::to_string(index + 1) + " claims a name of " +
                       std::to_string(nameLength) + " bytes");
  std::string name(nameLength, '\0');
  s.Read(name.data(), nameLength);
  const std::string what = Quoted(name);
  const size_t size = ReadU32(s, "the header of entry " + what);
  const size_t compressedLeft = s.Remaining();
  if (size > kMaxEntryBytes || size > compressedLeft * kMaxDeflateRatio ||
      size > kMaxArchiveBytes - inflatedTotal)
    throw EzkSkinError("Skin archive entry " + what + " claims " + std::to_string(size) +
                       " bytes, more than " + std::to_string(compressedLeft) +
                       " compressed bytes can hold or than a skin may have");
  inflatedTotal += size;

  const size_t start = s.Position();
  const bool isOptions = IsOptionsName(name);
  std::vector<uint8_t> content;
  TzkInflater inflater(s);
  inflater.ReadExactly(content, size, what);
  inflater.Finish(what);
  entries_.push_back({name, size, s.Position() - start, isOptions});
  if (isOptions) {
    options_ = std::move(content);  // a later options entry replaces an earlier one
    hasOptions_ = true;
    return;
  }
  TzkImageItem item;
  item.EntryName = name;
  item.IsBmp = HasBmpExtension(name);
  item.Content = std::move(content);
  images_.push_back(std::move(item));
}

int TzkSkinConvertor::FindEntry(const std::string& name) const {
  for (size_t i = 0; i < images_.size(); ++i)
    if (UpperCase(images_[i].EntryName) == name) return int(i);
  return -1;
}

void TzkSkinConvertor::OpenPackedFile(const std::string& fileName,
                                      std::unique_ptr<TzkSkinConvertor>& reader, bool releaseSource) {
  if (!FileExists(fileName)) return;
  if (reader)
    reader->Clear();
  else
    reader = std::make_unique<TzkSkinConvertor>();
  reader->SetOwnedSource(ReadWholeFile(fileName, kMaxArchiveBytes));
  try {
    reader->Parse();
  } catch (const EzkNotPackedSkin&) {
    reader.reset();
    throw;
  } catch (...) {
    if (releaseSource) reader->ReleaseSource();
    throw;
  }
  if (releaseSource) reader->ReleaseSource();
}

void TzkSkinConvertor::ParseBuffer(const uint8_t* data, size_t size,
                                   std::unique_ptr<TzkSkinConvertor>& reader) {
  reader = std::make_unique<TzkSkinConvertor>();
  reader->SetSource(data, size);
  try {
    reader->Parse();
  } catch (const EzkNotPackedSkin&) {
    reader.reset();
    throw;
  } catch (...) {
    reader->ReleaseSource();
    throw;
  }
  reader->ReleaseSource();
}

// [SECTION] Writer

void TzkSkinPacker::Add(const std::string& name, const uint8_t* data, size_t size) {
  if (name.size() > kMaxEntryNameLength)
    throw EzkSkinError("Entry name " + Quoted(name) + " is too long for a skin archive");
  if (size > kMaxEntryBytes)
    throw EzkSkinError("Entry " + Quoted(name) + " is too large for a skin archive");
  if (count_ >= kMaxArchiveEntries) throw EzkSkinError("Too many entries for a skin archive");
  uLongf packedSize = compressBound(uLong(size));
  std::vector<uint8_t> packed(packedSize);
  static const uint8_t kNothing = 0;
  if (compress2(packed.data(), &packedSize, size ? data : &kNothing, uLong(size), Z_BEST_COMPRESSION) != Z_OK)
    throw EzkSkinError("Cannot compress entry " + Quoted(name));
  AppendU32(body_, uint32_t(name.size()));
  body_.insert(body_.end(), name.begin(), name.end());
  AppendU32(body_, uint32_t(size));
  body_.insert(body_.end(), packed.begin(), packed.begin() + ptrdiff_t(packedSize));
  ++count_;
}

std::vector<uint8_t> TzkSkinPacker::Bytes() const {
  std::vector<uint8_t> out(kMagic, kMagic + 4);
  AppendU32(out, count_);
  out.insert(out.end(), body_.begin(), body_.end());
  return out;
}

std::vector<uint8_t> PackSkinFolder(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(fs::u8path(folder), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().u8string();
    if (!name.empty() && name[0] != '.' && it->is_regular_file(ec)) names.push_back(name);
  }
  if (ec) throw EzkSkinError("Cannot read the folder " + Quoted(folder) + ": " + ec.message());
  auto rank = [](const std::string& name) { return IsOptionsName(name) ? 0 : HasBmpExtension(name) ? 1 : 2; };
  std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
    if (rank(a) != rank(b)) return rank(a) < rank(b);
    const std::string ua = UpperCase(a), ub = UpperCase(b);
    return ua != ub ? ua < ub : a < b;
  });
  if (names.empty() || rank(names[0]) != 0)
    throw EzkSkinError("The folder " + Quoted(folder) + " holds no Options.dat");
  TzkSkinPacker packer;
  for (const std::string& name : names)
    packer.Add(name, ReadWholeFile((fs::u8path(folder) / fs::u8path(name)).u8string(), kMaxEntryBytes));
  return packer.Bytes();
}

// [SECTION] Files

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::u8path(path), ec);
}

std::vector<uint8_t> ReadWholeFile(const std::string& path, size_t maxBytes) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary | std::ios::ate);
  if (!in) throw EzkSkinError("Cannot open " + Quoted(path));
  const std::streamoff end = in.tellg();
  if (end < 0) throw EzkSkinError("Cannot read " + Quoted(path));
  if (uint64_t(end) > maxBytes)
    throw EzkSkinError(Quoted(path) + " is too large (" + std::to_string(end) + " bytes)");
  std::vector<uint8_t> bytes(static_cast<size_t>(end));
  in.seekg(0);
  if (!bytes.empty() && !in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(end)))
    throw EzkSkinError("Cannot read " + Quoted(path));
  return bytes;
}
