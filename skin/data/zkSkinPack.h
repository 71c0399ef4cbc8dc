// The packed skin archive: reader (TzkSkinConvertor) and writer (TzkSkinPacker).
//
// Layout (integers are 32-bit little-endian, no gaps):
//   "QRvk"  N  { L  name[L]  S  zlib-stream }*N
// where S is the entry's inflated size. The compressed length is not stored: the next entry
// starts at the first byte after the Adler-32 trailer of the previous zlib stream, so the
// reader inflates each entry as a stream and gives back the input it read past the end.
// The entry named "Options.dat" (any letter case) is the options text; the rest are images.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Raised for damaged or foreign skin data; the message is shown to the user as it is.
class EzkSkinError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raised when the data does not start with the archive's magic.
class EzkNotPackedSkin : public EzkSkinError {
 public:
  using EzkSkinError::EzkSkinError;
};
extern const char* const kNotPackedSkinMessage;  // its message

// Hostile-input caps. Entry counts, names and sizes are checked against these and against the
// bytes the archive really has before anything is allocated.
constexpr uint32_t kMaxArchiveEntries = 4096;
constexpr uint32_t kMaxEntryNameLength = 1024;
constexpr size_t kMaxEntryBytes = size_t(256) << 20;    // one inflated entry
constexpr size_t kMaxArchiveBytes = size_t(512) << 20;  // all inflated entries together
// Deflate never expands more than about 1032 to 1; a claimed size beyond that is a lie.
constexpr size_t kMaxDeflateRatio = 1032;

// A readable, positionable byte stream held in memory (borrowed or owned).
class TzkMemoryStream {
 public:
  TzkMemoryStream() = default;
  TzkMemoryStream(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit TzkMemoryStream(std::vector<uint8_t> owned);
  TzkMemoryStream(const TzkMemoryStream&) = delete;
  TzkMemoryStream& operator=(const TzkMemoryStream&) = delete;

  const uint8_t* Data() const { return data_; }
  size_t Size() const { return size_; }
  size_t Position() const { return position_; }
  size_t Remaining() const { return size_ - position_; }
  void SetPosition(size_t position) { position_ = position < size_ ? position : size_; }
  // Copies up to `count` bytes; returns how many were copied.
  size_t Read(void* buffer, size_t count);

 private:
  std::vector<uint8_t> owned_;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t position_ = 0;
};

// Inflates one zlib stream from a source stream, taking the source in chunks (windows of the
// stream's memory, not copies). Once the zlib stream ends, the chunk bytes it did not consume
// are given back by moving the source back.
class TzkInflater {
 public:
  explicit TzkInflater(TzkMemoryStream& source, size_t chunkBytes = 16384);
  ~TzkInflater();
  TzkInflater(const TzkInflater&) = delete;
  TzkInflater& operator=(const TzkInflater&) = delete;

  // Fills exactly `count` bytes; throws EzkSkinError when the data is damaged or ends early.
  void ReadExactly(uint8_t* out, size_t count, const std::string& what);
  // Reads exactly `count` bytes into `out`, growing it only as the data really arrives, so a
  // size claimed by a lying header is never allocated at once.
  void ReadExactly(std::vector<uint8_t>& out, size_t count, const std::string& what);
  // Reads on to the end of the stream (it must hold no further output) and gives back the
  // unconsumed input, leaving the source at the first byte after the stream.
  void Finish(const std::string& what);

 private:
  // One inflate step into out[0..count); returns bytes produced, sets ended_ at the end.
  size_t Step(uint8_t* out, size_t count, const std::string& what);

  TzkMemoryStream& source_;
  size_t chunkBytes_;
  struct State;
  std::unique_ptr<State> state_;
  bool ended_ = false;
};

// One image entry of an archive.
struct TzkImageItem {
  std::string EntryName;         // exactly as stored
  bool IsBmp = false;            // the upper-cased extension is ".BMP"
  std::vector<uint8_t> Content;  // the inflated bytes
};
using TzkImageItems = std::vector<TzkImageItem>;

// Every entry Parse has read, options included, in archive order (for listing and unpacking).
struct TzkEntryInfo {
  std::string Name;
  size_t Size = 0;        // inflated
  size_t PackedSize = 0;  // bytes of its zlib stream
  bool IsOptions = false;
};

class TzkSkinConvertor {
 public:
  TzkSkinConvertor() = default;
  TzkSkinConvertor(const TzkSkinConvertor&) = delete;
  TzkSkinConvertor& operator=(const TzkSkinConvertor&) = delete;

  // The stream Parse reads: borrowed (the caller keeps the bytes alive) or owned.
  void SetSource(const uint8_t* data, size_t size);
  void SetOwnedSource(std::vector<uint8_t> bytes);
  // Drops the source (frees it when owned); the parsed entries stay.
  void ReleaseSource();
  const TzkMemoryStream* Source() const { return source_.get(); }

  // Reads the archive from position 0 and appends its entries (existing entries stay).
  // Throws EzkSkinError with kNotPackedSkinMessage on a wrong magic (after clearing the
  // reader) and with a description of the fault for a damaged entry; entries read before a
  // damaged one stay in the reader.
  void Parse();
  // Frees every image, the options text and an owned source.
  void Clear();

  // Index of the first image whose upper-cased EntryName equals `name` as given, or -1.
  int FindEntry(const std::string& name) const;

  bool HasOptions() const { return hasOptions_; }
  const std::vector<uint8_t>& Options() const { return options_; }
  const TzkImageItems& Images() const { return images_; }
  const std::vector<TzkEntryInfo>& Entries() const { return entries_; }

  // Does nothing when the file does not exist. Otherwise clears `reader` (or creates one),
  // makes the whole file its owned source and parses it; with `releaseSource` the file bytes
  // are freed again afterwards. A wrong magic resets `reader` before the error propagates.
  static void OpenPackedFile(const std::string& fileName, std::unique_ptr<TzkSkinConvertor>& reader,
                             bool releaseSource);
  // Parses a stored skin's archive without taking its bytes; the same reset on a wrong magic.
  static void ParseBuffer(const uint8_t* data, size_t size, std::unique_ptr<TzkSkinConvertor>& reader);

 private:
  void ParseEntry(uint32_t index, size_t& inflatedTotal);

  std::unique_ptr<TzkMemoryStream> source_;
  bool hasOptions_ = false;
  std::vector<uint8_t> options_;
  TzkImageItems images_;
  std::vector<TzkEntryInfo> entries_;
};

// Writes archives: entries are packed in the order they are added, each compressed at the
// best zlib level.
class TzkSkinPacker {
 public:
  void Add(const std::string& name, const uint8_t* data, size_t size);
  void Add(const std::string& name, const std::vector<uint8_t>& data) {
    Add(name, data.data(), data.size());
  }
  size_t Count() const { return count_; }
  // The archive bytes so far (a valid archive even when no entry was added).
  std::vector<uint8_t> Bytes() const;

 private:
  std::vector<uint8_t> body_;
  uint32_t count_ = 0;
};

// Packs the files of an unpacked skin folder (not its sub-folders or names starting with
// "."): "Options.dat" first, then the ".bmp" files, then the others, each group in
// case-insensitive name order. Throws EzkSkinError when the folder has no "Options.dat".
std::vector<uint8_t> PackSkinFolder(const std::string& folder);

// Whole-file reading with a size cap, for skin files and archives. Paths are UTF-8.
bool FileExists(const std::string& path);
// Throws EzkSkinError naming the file when it cannot be read or exceeds `maxBytes`.
std::vector<uint8_t> ReadWholeFile(const std::string& path, size_t maxBytes);
