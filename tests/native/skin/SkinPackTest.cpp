#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>
#include <vector>

#include "skin/data/zkSkinPack.h"
#include "support/TempDir.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Noise(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& v : b) v = uint8_t(rng());
  return b;
}

void PutU32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// An archive header written by hand: magic, count, then raw bytes.
Bytes RawArchive(int32_t count, const Bytes& body) {
  Bytes out = Text("QRvk");
  PutU32(out, uint32_t(count));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

// One entry whose zlib stream is given as is.
Bytes RawEntry(const std::string& name, uint32_t size, const Bytes& stream) {
  Bytes out;
  PutU32(out, uint32_t(name.size()));
  out.insert(out.end(), name.begin(), name.end());
  PutU32(out, size);
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

Bytes Deflate(const Bytes& content) {
  uLongf n = compressBound(uLong(content.size()));
  Bytes out(n);
  compress2(out.data(), &n, content.data(), uLong(content.size()), 9);
  out.resize(n);
  return out;
}

std::string ParseError(const Bytes& archive, TzkSkinConvertor* into = nullptr) {
  TzkSkinConvertor local;
  TzkSkinConvertor& reader = into ? *into : local;
  reader.SetSource(archive.data(), archive.size());
  try {
    reader.Parse();
  } catch (const EzkSkinError& e) {
    return e.what();
  }
  return "";
}

TEST(SkinPack, RoundTripKeepsOrderNamesAndBmpFlags) {
  TzkSkinPacker packer;
  packer.Add("OPTIONS.dat", Text("[GLOBALINFO]\r\n"));
  packer.Add("Master.bmp", Noise(300, 1));
  packer.Add("Corner.BMP", Text("c"));
  packer.Add("GlowH.png", Text("p"));
  packer.Add("README", Bytes());
  packer.Add("x.bmp.png", Text("y"));
  const Bytes archive = packer.Bytes();

  TzkSkinConvertor reader;
  reader.SetSource(archive.data(), archive.size());
  reader.Parse();
  ASSERT_TRUE(reader.HasOptions());
  EXPECT_EQ(std::string(reader.Options().begin(), reader.Options().end()), "[GLOBALINFO]\r\n");
  const TzkImageItems& images = reader.Images();
  ASSERT_EQ(images.size(), 5u);
  EXPECT_EQ(images[0].EntryName, "Master.bmp");
  EXPECT_EQ(images[0].Content, Noise(300, 1));
  EXPECT_TRUE(images[0].IsBmp);
  EXPECT_TRUE(images[1].IsBmp);
  EXPECT_FALSE(images[2].IsBmp);
  EXPECT_FALSE(images[3].IsBmp);
  EXPECT_TRUE(images[3].Content.empty());
  EXPECT_FALSE(images[4].IsBmp);
}

TEST(SkinPack, EmptyAndNegativeCountsHoldNothing) {
  for (int32_t n : {0, -5}) {
    TzkSkinConvertor reader;
    const Bytes archive = RawArchive(n, Bytes());
    reader.SetSource(archive.data(), archive.size());
    reader.Parse();
    EXPECT_FALSE(reader.HasOptions());
    EXPECT_TRUE(reader.Images().empty());
  }
}

TEST(SkinPack, LaterOptionsEntryReplacesEarlierAndParseAppends) {
  TzkSkinPacker packer;
  packer.Add("Options.dat", Text("first"));
  packer.Add("A.bmp", Text("a"));
  packer.Add("options.DAT", Text("second"));
  const Bytes archive = packer.Bytes();
  TzkSkinConvertor reader;
  reader.SetSource(archive.data(), archive.size());
  reader.Parse();
  EXPECT_EQ(std::string(reader.Options().begin(), reader.Options().end()), "second");
  reader.Parse();  // existing entries are not cleared first
  EXPECT_EQ(reader.Images().size(), 2u);
  reader.Clear();
  EXPECT_TRUE(reader.Images().empty());
  EXPECT_FALSE(reader.HasOptions());
  EXPECT_EQ(reader.Source(), nullptr);
}

// Entries of every compression ratio back to back: incompressible ones (compressed form
// larger than the content), long runs, empty ones, across many input-chunk boundaries.
TEST(SkinPack, EntryEndsAreFoundWhateverTheCompressionRatio) {
  TzkSkinPacker packer;
  std::vector<Bytes> contents;
  std::mt19937 rng(7);
  for (int i = 0; i < 60; ++i) {
    const size_t n = rng() % 3 == 0 ? rng() % 40 : rng() % 9000;
    Bytes content = i % 2 ? Noise(n, unsigned(i)) : Bytes(n, uint8_t(i));
    packer.Add("E" + std::to_string(i) + ".png", content);
    contents.push_back(std::move(content));
  }
  const Bytes archive = packer.Bytes();
  TzkSkinConvertor reader;
  reader.SetSource(archive.data(), archive.size());
  reader.Parse();
  ASSERT_EQ(reader.Images().size(), contents.size());
  for (size_t i = 0; i < contents.size(); ++i) EXPECT_EQ(reader.Images()[i].Content, contents[i]) << i;
}

TEST(SkinPack, FindEntryComparesUpperCasedNamesWithTheNameAsGiven) {
  TzkSkinPacker packer;
  packer.Add("Options.dat", Text("x"));
  packer.Add("Master.bmp", Text("m"));
  packer.Add("glow.png", Text("g"));
  const Bytes archive = packer.Bytes();
  TzkSkinConvertor reader;
  reader.SetSource(archive.data(), archive.size());
  reader.Parse();
  EXPECT_EQ(reader.FindEntry("MASTER.BMP"), 0);
  EXPECT_EQ(reader.FindEntry("Master.bmp"), -1);
  EXPECT_EQ(reader.FindEntry("GLOW.PNG"), 1);
  EXPECT_EQ(reader.FindEntry("Options.dat"), -1);
  EXPECT_EQ(reader.FindEntry("OPTIONS.DAT"), -1);
}

TEST(SkinPack, WrongMagicClearsAndDiscardsTheReader) {
  const Bytes notSkin = Text("PK\x03\x04 something else");
  TzkSkinConvertor reader;
  TzkSkinPacker packer;
  packer.Add("A.bmp", Text("a"));
  const Bytes good = packer.Bytes();
  reader.SetSource(good.data(), good.size());
  reader.Parse();
  EXPECT_EQ(ParseError(notSkin, &reader), "Loaded data is not packed OrvexSkin file");
  EXPECT_TRUE(reader.Images().empty());
  EXPECT_EQ(ParseError(Bytes()), "Loaded data is not packed OrvexSkin file");

  std::unique_ptr<TzkSkinConvertor> held;
  EXPECT_THROW(TzkSkinConvertor::ParseBuffer(notSkin.data(), notSkin.size(), held), EzkNotPackedSkin);
  EXPECT_EQ(held, nullptr);
}

TEST(SkinPack, DamagedEntriesRaiseAndKeepEarlierEntries) {
  const Bytes a = RawEntry("A.bmp", 3, Deflate(Text("abc")));
  Bytes broken = Deflate(Text("hello hello hello"));
  broken[4] ^= 0xFF;
  TzkSkinConvertor reader;
  EXPECT_NE(ParseError(RawArchive(2, a + RawEntry("B.bmp", 17, broken)), &reader).find("\"B.bmp\" is damaged"),
            std::string::npos);
  ASSERT_EQ(reader.Images().size(), 1u);
  EXPECT_EQ(reader.Images()[0].EntryName, "A.bmp");

  EXPECT_NE(ParseError(RawArchive(1, RawEntry("S.bmp", 10, Deflate(Text("short"))))).find("fewer than the 10"),
            std::string::npos);
  EXPECT_NE(ParseError(RawArchive(1, RawEntry("L.bmp", 2, Deflate(Text("longer"))))).find("more bytes than its size"),
            std::string::npos);
  Bytes cut = RawArchive(1, RawEntry("C.bmp", 4000, Deflate(Noise(4000, 3))));
  cut.resize(cut.size() - 100);
  EXPECT_NE(ParseError(cut).find("ends inside entry \"C.bmp\""), std::string::npos);
  Bytes header = RawArchive(2, RawEntry("N.bmp", 100, Deflate(Noise(100, 4))));
  header.push_back(5);
  EXPECT_NE(ParseError(header).find("ends inside the header of entry 2"), std::string::npos);
  EXPECT_NE(ParseError(Text("QRvk\x01")).find("ends inside its entry count"), std::string::npos);
}

TEST(SkinPack, HostileSizesFailBeforeAllocating) {
  // 20 bytes claiming an entry of 4 GiB: too short for even one entry.
  Bytes tiny = RawArchive(1, RawEntry("", 0xFFFFFFFFu, Text("xxxx")));
  ASSERT_EQ(tiny.size(), 20u);
  EXPECT_EQ(ParseError(tiny), "Skin archive claims 1 entries but holds only 12 bytes of entries");
  tiny.insert(tiny.end(), 4, 'x');
  EXPECT_NE(ParseError(tiny).find("claims 4294967295 bytes"), std::string::npos);
  // A size that deflate could not reach from the bytes present.
  EXPECT_NE(ParseError(RawArchive(1, RawEntry("A.bmp", 5000000, Deflate(Text("x"))))).find("claims 5000000"),
            std::string::npos);
  EXPECT_NE(ParseError(RawArchive(0x7FFFFFFF, Bytes(64))).find("claims 2147483647 entries"), std::string::npos);
  Bytes name;
  PutU32(name, 0x10000000);
  EXPECT_NE(ParseError(RawArchive(1, name + Bytes(16))).find("claims a name of 268435456 bytes"),
            std::string::npos);
}

TEST(SkinPack, OpenPackedFileLoadsReleasesAndIgnoresMissingFiles) {
  TTempDir dir("skinpack-open");
  TzkSkinPacker packer;
  packer.Add("Options.dat", Text("[A]"));
  packer.Add("X.png", Text("x"));
  dir.Write("s.qvz", packer.Bytes());
  dir.Write("bad.qvz", Text("not an archive"));

  std::unique_ptr<TzkSkinConvertor> reader;
  TzkSkinConvertor::OpenPackedFile(dir / "missing.qvz", reader, true);
  EXPECT_EQ(reader, nullptr);
  TzkSkinConvertor::OpenPackedFile(dir / "s.qvz", reader, true);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->Images().size(), 1u);
  EXPECT_EQ(reader->Source(), nullptr);
  TzkSkinConvertor::OpenPackedFile(dir / "missing.qvz", reader, true);
  ASSERT_NE(reader, nullptr);  // left as it was
  EXPECT_EQ(reader->Images().size(), 1u);
  TzkSkinConvertor::OpenPackedFile(dir / "s.qvz", reader, false);
  EXPECT_EQ(reader->Images().size(), 1u);  // cleared first, then parsed again
  EXPECT_NE(reader->Source(), nullptr);
  EXPECT_THROW(TzkSkinConvertor::OpenPackedFile(dir / "bad.qvz", reader, true), EzkNotPackedSkin);
  EXPECT_EQ(reader, nullptr);
}

}  // namespace
