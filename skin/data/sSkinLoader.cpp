#include "skin/data/sSkinLoader.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <system_error>

#include "skin/data/sHueSaturation.h"
#include "skin/data/sImageValue.h"
#include "skin/data/sOptionsFile.h"
#include "skin/data/zkImageReaders.h"
#include "skin/data/zkPNG.h"
#include "skin/data/zkSkinPack.h"
#include "skin/data/zkSkinText.h"

const char* const kVersionWarning =
    "This version of the skin have not complete support by used OrvexControls package release.\n"
    "Components must be updated up to latest version for using this skin.";

namespace {

// [SECTION] Where image files come from

class TFileSource {
 public:
  virtual ~TFileSource() = default;
  // The named file's bytes, or nullptr (with the reason in `why`) when there is none.
  virtual const std::vector<uint8_t>* Find(const std::string& name, std::string& why) = 0;
};

// A packed skin: entries by FindEntry, the name as written against upper-cased entry names.
class TArchiveFiles final : public TFileSource {
 public:
  explicit TArchiveFiles(const TzkSkinConvertor& reader) : reader_(reader) {}
  const std::vector<uint8_t>* Find(const std::string& name, std::string& why) override {
    const int i = reader_.FindEntry(name);
    if (i < 0) {
      why = "no archive entry matches \"" + name + "\" (entry names are compared upper-cased)";
      return nullptr;
    }
    return &reader_.Images()[size_t(i)].Content;
  }

 private:
  const TzkSkinConvertor& reader_;
};

// Files on disk: the name itself when it contains ":", else relative to the skin path.
class TDiskFiles final : public TFileSource {
 public:
  explicit TDiskFiles(std::string skinPath) : skinPath_(std::move(skinPath)) {}
  const std::vector<uint8_t>* Find(const std::string& name, std::string& why) override {
    const std::string path = ResolveSkinFile(skinPath_, name);
    if (!FileExists(path)) {
      why = "file \"" + path + "\" not found";
      return nullptr;
    }
    try {
      bytes_ = ReadWholeFile(path, kMaxEntryBytes);
    } catch (const EzkSkinError& e) {
      why = e.what();
      return nullptr;
    }
    return &bytes_;
  }

 private:
  std::string skinPath_;
  std::vector<uint8_t> bytes_;
};

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// Decodes by the file name: PNG, JPEG, or else BMP.
bool DecodeImage(const std::string& name, const std::vector<uint8_t>& bytes, TzkBitmap& out,
                 std::string& error) {
  const std::string upper = UpperCase(name);
  if (Contains(upper, ".PNG")) return ReadPngImage(bytes.data(), bytes.size(), out, error);
  if (Contains(upper, ".JPG") || Contains(upper, ".JPEG"))
    return ReadJpegImage(bytes.data(), bytes.size(), out, error);
  return ReadBmpImage(bytes.data(), bytes.size(), out, error);
}

int16_t Short(int32_t v) {
  return int16_t(std::clamp<int32_t>(v, std::numeric_limits<int16_t>::min(),
                                     std::numeric_limits<int16_t>::max()));
}

bool IsGlobalInfo(const std::string& name) { return SameText(name, "GLOBALINFO"); }

// GLOBALINFO keys that hold a file name or free text, never an image of their own.
bool IsGlobalTextKey(const std::string& key) {
  return SameText(key, "MASTERBITMAP") || SameText(key, "AUTHOR") || SameText(key, "DESCRIPTION");
}

std::string Where(const std::string& section, const TsOptionsEntry& e) {
  return "[" + section + "] " + e.Key + "=" + e.Value;
}

// [SECTION] The builder: one load, into tables of its own

class TSkinBuilder {
 public:
  TSkinBuilder(const TsOptionsFile* options, TFileSource& files, std::string skinPath,
               const TsSkinLoadOptions& settings, TsSkinLoadReport& report,
               const TsStoredSkinData* stored = nullptr)
      : options_(options), stored_(options ? nullptr : stored), files_(files),
        skinPath_(std::move(skinPath)), settings_(settings), report_(report) {
    if (!settings.CommonSections.empty()) common_.emplace(settings.CommonSections);
  }

  void Build(TsSkinTables& t) {
    t_ = &t;
    t.SkinData.SkinPath = skinPath_;
    report_.HasOptions = options_ != nullptr;
    if (options_) {
      LoadMasterBitmap();
      ForEachImageValue(*options_, [&](const std::string& s, const TsOptionsEntry& e, const TsImageValue& v) {
        AddMask(s, e, v, files_);
      });
      ReportParentProblems();
    }
    if (stored_) LoadStoredMasks();
    LoadCommonMasks();
    if (options_)
      ForEachImageValue(*options_, [&](const std::string& s, const TsOptionsEntry& e, const TsImageValue& v) {
        AddPattern(s, e, v, files_, false);
      });
    if (stored_) LoadStoredPatterns();
    LoadCommonPatterns();
    LoadSections();
    t.InitCachedIndexes();
  }

 private:
  template <typename Visit>
  void ForEachImageValue(const TsOptionsFile& file, const Visit& visit, bool skipGlobal = false) {
    for (const TsOptionsSection& section : file.Sections()) {
      const bool global = IsGlobalInfo(section.Name);
      if (global && skipGlobal) continue;
      for (const TsOptionsEntry& e : section.Entries) {
        if (!e.HasEquals || (global && IsGlobalTextKey(e.Key))) continue;
        TsImageValue v;
        try {
          v = ParseImageValue(e.Value);
        } catch (const EzkSkinError& error) {
          throw EzkSkinError("Skin options " + Where(section.Name, e) + ": " + error.what());
        }
        if (v.Form != TsImageForm::None) visit(section.Name, e, v);
      }
    }
  }

  // Throws once the tables would hold more records than a skin may have.
  void CheckRecordCount(const std::string& section, const TsOptionsEntry& e) const {
    if (t_->Masks.size() + t_->Patterns.size() >= settings_.MaxRecords)
      throw EzkSkinError("The skin has more than " + std::to_string(settings_.MaxRecords) +
                         " images (at " + Where(section, e) + ")");
  }

  void Problem(const std::string& section, const TsOptionsEntry& e, const std::string& why) {
    report_.ImageProblems.push_back(Where(section, e) + ": " + why);
  }

  void LoadMasterBitmap() {
    const int g = options_->FindSection("GLOBALINFO");
    const std::string name = options_->ReadSectionText(g, "MASTERBITMAP", "");
    if (name.empty()) return;
    std::string why;
    const std::vector<uint8_t>* bytes = files_.Find(name, why);
    TzkBitmap master;
    if (bytes && !DecodeImage(name, *bytes, master, why)) master = TzkBitmap();
    if (master.Empty()) {
      report_.MasterBitmapMissing = true;
      report_.ImageProblems.push_back("[GLOBALINFO] MASTERBITMAP=" + name + ": " +
                                      (why.empty() ? "empty image" : why));
      return;
    }
    master.SetPixelFormat(TPixelFormat::pf24bit);
    t_->MasterBitmap = std::move(master);
  }

  TsMaskData NewMask(const std::string& section, const TsOptionsEntry& e, const TsImageValue& v) {
    TsMaskData m;
    m.SectionName = v.UpperCaseNames ? UpperCase(section) : section;
    m.PropertyName = v.UpperCaseNames ? UpperCase(e.Key) : e.Key;
    m.Rect = v.Rect;
    m.ImageCount = v.ImageCount;
    m.MaskType = v.MaskType;
    m.BorderWidth = v.BorderWidth;
    m.StretchMode = v.StretchMode;
    m.ImgType = v.ImgType;
    m.Manager = t_;
    m.WL = v.WL;
    m.WT = v.WT;
    m.WR = v.WR;
    m.WB = v.WB;
    return m;
  }

  // Decodes the named file; nullptr (and a report line) when it is missing or unusable.
  std::unique_ptr<TzkBitmap> LoadImageFile(const std::string& section, const TsOptionsEntry& e,
                                           const std::string& name, TFileSource& files) {
    std::string why;
    const std::vector<uint8_t>* bytes = files.Find(name, why);
    if (!bytes) {
      Problem(section, e, why);
      return nullptr;
    }
    auto image = std::make_unique<TzkBitmap>();
    if (!DecodeImage(name, *bytes, *image, why)) {
      Problem(section, e, "\"" + name + "\": " + why);
      return nullptr;
    }
    if (image->Width() == 0) {
      Problem(section, e, "\"" + name + "\" is an empty image");
      return nullptr;
    }
    imageBytes_ += DibRowBytes(image->Width(), image->PixelFormat()) * size_t(image->Height());
    if (imageBytes_ > settings_.MaxImageBytes)
      throw EzkSkinError("The images of the skin need more than " + std::to_string(settings_.MaxImageBytes) +
                         " bytes (at " + Where(section, e) + ")");
    return image;
  }

  void AddMask(const std::string& section, const TsOptionsEntry& e, const TsImageValue& v,
               TFileSource& files) {
    CheckRecordCount(section, e);
    switch (v.Form) {
      case TsImageForm::MasterBorder:
      case TsImageForm::MasterGlyph:
      case TsImageForm::MasterTexture:
      case TsImageForm::OldMaster: {
        if (v.Rect.Left < 0 || v.Rect.Top < 0 || v.Rect.Right < v.Rect.Left || v.Rect.Bottom < v.Rect.Top) {
          Problem(section, e, "the rectangle is negative or inverted");
          return;
        }
        TsMaskData m = NewMask(section, e, v);
        if (v.Form == TsImageForm::MasterBorder || v.Form == TsImageForm::OldMaster)
          ApplyDefaultBorderWidths(m, false);
        const TzkBitmap& master = t_->MasterBitmap;
        if (!master.Empty() && (v.Rect.Right > master.Width() || v.Rect.Bottom > master.Height()))
          Problem(section, e, "the rectangle reaches past the master bitmap (kept)");
        t_->Masks.push_back(std::move(m));
        return;
      }
      case TsImageForm::File:
      case TsImageForm::OldFile: {
        std::unique_ptr<TzkBitmap> image = LoadImageFile(section, e, v.FileName, files);
        if (!image) return;
        const bool png = Contains(UpperCase(v.FileName), ".PNG");
        if (v.Form == TsImageForm::OldFile || (!png && v.ImgType != itisaTexture))
          image->SetPixelFormat(TPixelFormat::pf24bit);
        if (png) ClearTransparentWhite(*image);
        TsMaskData m = NewMask(section, e, v);
        m.Rect = TRect(0, 0, image->Width(), image->Height());
        m.Image = std::move(image);
        if (v.Form == TsImageForm::OldFile)
          ApplyDefaultBorderWidths(m, false);
        else if (!v.HasBorderWidths)
          ApplyDefaultBorderWidths(m, true);
        t_->Masks.push_back(std::move(m));
        return;
      }
      case TsImageForm::None:
      case TsImageForm::Pattern:
        return;
    }
  }

  // A JPEG value: a pattern when the picture has 90,000 pixels or more, else a texture record.
  // Values of CommonSections always become patterns.
  void AddPattern(const std::string& section, const TsOptionsEntry& e, const TsImageValue& v,
                  TFileSource& files, bool alwaysPattern) {
    if (v.Form != TsImageForm::Pattern) return;
    CheckRecordCount(section, e);
    std::unique_ptr<TzkBitmap> image = LoadImageFile(section, e, v.FileName, files);
    if (!image) return;
    image->SetPixelFormat(TPixelFormat::pf24bit);
    if (alwaysPattern || int64_t(image->Width()) * image->Height() > 89999) {
      t_->Patterns.push_back({std::move(image), UpperCase(section), UpperCase(e.Key)});
      return;
    }
    TsMaskData m;
    m.SectionName = UpperCase(section);
    m.PropertyName = UpperCase(e.Key);
    m.Rect = TRect(0, 0, image->Width(), image->Height());
    m.Image = std::move(image);
    m.ImageCount = 1;
    m.ImgType = itisaTexture;
    m.Manager = t_;
    t_->Masks.push_back(std::move(m));
  }

  // [SECTION] Older stored skins: records copied from the collections

  void CountRecord() const {
    if (t_->Masks.size() + t_->Patterns.size() >= settings_.MaxRecords)
      throw EzkSkinError("The stored skin has more than " + std::to_string(settings_.MaxRecords) +
                         " images");
  }

  void LoadStoredMasks() {
    if (stored_->MasterBitmap) {
      t_->MasterBitmap = stored_->MasterBitmap->Clone();
      t_->MasterBitmap.SetPixelFormat(TPixelFormat::pf24bit);
    }
    for (const TsSkinImage& item : stored_->Images) {
      CountRecord();
      TsMaskData m;
      m.SectionName = item.SectionName;
      m.PropertyName = item.PropertyName;
      m.Rect = TRect(item.Left, item.Top, item.Right, item.Bottom);
      m.ImageCount = Short(item.ImageCount);
      m.MaskType = Short(item.MaskType);
      m.BorderWidth = Short(item.BorderWidth);
      m.StretchMode = Short(item.StretchMode);
      m.ImgType = item.ImgType;
      m.WL = Short(item.WL), m.WT = Short(item.WT), m.WR = Short(item.WR), m.WB = Short(item.WB);
      m.Manager = t_;
      if (item.Image && !item.Image->Empty()) {
        m.Image = std::make_unique<TzkBitmap>(item.Image->Clone());
        // Records with a picture of their own span the whole picture.
        m.Rect = TRect(0, 0, m.Image->Width(), m.Image->Height());
        imageBytes_ += size_t(m.Image->Height()) * size_t(std::abs(m.Image->Stride()));
        if (imageBytes_ > settings_.MaxImageBytes)
          throw EzkSkinError("The stored skin's images are too large");
      }
      if (m.ImageCount == 0) {
        m.MaskType = 1;
        m.ImageCount = 3;
      }
      if (m.WL == 0 && m.WT == 0 && m.WR == 0 && m.WB == 0) ApplyDefaultBorderWidths(m, false);
      t_->Masks.push_back(std::move(m));
    }
  }

  void LoadStoredPatterns() {
    const std::vector<TsSkinPattern>& items = stored_->Patterns;
    for (const TsSkinPattern& item : items) {
      const TzkBitmap* picture = item.Image && !item.Image->Empty() ? item.Image.get() : nullptr;
      for (size_t j = 0; !picture && j < items.size(); ++j)
        if (&items[j] != &item && items[j].Name == item.Name && items[j].Image &&
            !items[j].Image->Empty())
          picture = items[j].Image.get();
      if (!picture) continue;
      CountRecord();
      auto image = std::make_unique<TzkBitmap>(picture->Clone());
      image->SetPixelFormat(TPixelFormat::pf24bit);
      t_->Patterns.push_back({std::move(image), UpperCase(item.SectionName), UpperCase(item.PropertyName)});
    }
  }

  void LoadStoredGlobalData() {
    TsSkinData& d = t_->SkinData;
    d.Version = stored_->Version;
    d.Author = stored_->Author;
    d.Description = stored_->Description;
    d.Shadow1Color = stored_->Shadow1Color;
    d.Shadow1Offset = Short(stored_->Shadow1Offset);
    d.Shadow1Blur = Short(stored_->Shadow1Blur);
    d.Shadow1Transparency = Short(stored_->Shadow1Transparency);
    d.BorderColor = stored_->BorderColor;
    report_.VersionTooNew = d.Version > 255;
  }

  static TsGeneralData StoredSection(const TsSkinGeneral& g) {
    TsGeneralData d;
    d.SectionName = g.SectionName;
    d.ParentClass = g.ParentClass;
    d.Color = g.Color;
    d.ReservedBoolean = g.ReservedBoolean;
    d.GiveOwnFont = g.GiveOwnFont;
    d.GlowCount = g.GlowCount;
    d.GlowMargin = g.GlowMargin;
    d.Transparency = g.Transparency;
    d.GradientPercent = g.GradientPercent;
    d.ImagePercent = g.ImagePercent;
    d.GradientData = g.GradientData;
    d.GradientArray = ParseGradientData(g.GradientData);
    d.ShowFocus = g.ShowFocus;
    d.FadingEnabled = g.FadingEnabled;
    d.FadingIterations = g.FadingIterations;
    d.HotColor = g.HotColor;
    d.HotTransparency = g.HotTransparency;
    d.HotGradientPercent = g.HotGradientPercent;
    d.HotGradientData = g.HotGradientData;
    d.HotGradientArray = ParseGradientData(g.HotGradientData);
    d.HotImagePercent = g.HotImagePercent;
    d.FontColor = ParseStoredFontColor(g.FontColor);
    d.HotFontColor = ParseStoredFontColor(g.HotFontColor);
    return d;
  }

  // [SECTION] CommonSections: extra text merged into every skin

  void LoadCommonMasks() {
    if (!common_) return;
    TDiskFiles disk(skinPath_);
    ForEachImageValue(*common_, [&](const std::string& s, const TsOptionsEntry& e, const TsImageValue& v) {
      if (v.Form == TsImageForm::OldMaster && !t_->MasterBitmap.Empty()) AddMask(s, e, v, disk);
      if (v.Form == TsImageForm::OldFile) AddMask(s, e, v, disk);
    }, true);
  }

  void LoadCommonPatterns() {
    if (!common_) return;
    TDiskFiles disk(skinPath_);
    ForEachImageValue(*common_, [&](const std::string& s, const TsOptionsEntry& e, const TsImageValue& v) {
      AddPattern(s, e, v, disk, true);
    }, true);
  }

  // [SECTION] Sections and global data

  void LoadGlobalData() {
    const TsOptionsFile& f = *options_;
    const int g = f.FindSection("GLOBALINFO");
    TsSkinData& d = t_->SkinData;
    // Skin-wide numbers take -1 as a value: a spacing of -1 makes title buttons overlap.
    auto i16 = [&](const char* key, int def) {
      return Short(f.ReadSectionSignedInteger(g, key, def));
    };
    d.Version = f.ReadSectionReal(g, "VERSION", 0);
    d.Author = f.ReadSectionText(g, "AUTHOR", "");
    d.Description = f.ReadSectionText(g, "DESCRIPTION", "");
    d.ExBorderWidth = i16("BORDERWIDTH", 4);
    d.TitleHeight = i16("TITLEHEIGHT", 30);
    d.MaxTitleHeight = i16("MAXHEIGHT", 0);
    d.FormOffset = i16("FORMOFFSET", 8);
    d.CenterOffset = i16("CENTEROFFSET", 0);
    d.BorderMode = i16("BORDERMODE", 0);
    d.Shadow1Color = f.ReadSectionSignedInteger(g, "SHADOW1COLOR", 0);
    d.Shadow1Offset = i16("SHADOW1OFFSET", 0);
    d.Shadow1Blur = i16("SHADOW1BLUR", -1);
    d.Shadow1Transparency = i16("SHADOW1TRANSPARENCY", 0);
    d.TitleButtonSpacing = i16("BISPACE", 0);
    d.TitleButtonVAlign = i16("BIVALIGN", 0);
    d.TitleButtonsRight = i16("BIRIGHT", 0);
    d.TitleButtonsLeft = i16("BILEFT", 0);
    d.BorderColor = f.ReadSectionSignedInteger(g, "BORDERCOLOR", 0);
    d.KeepTitleHue = i16("BIKEEPHUE", 0);
    d.CloseGlow = i16("BICONCLOSEGLOW", 0);
    d.MaxGlow = i16("BICONMAXGLOW", 0);
    d.MinGlow = i16("BICONMINGLOW", 0);
    d.CloseGlowMargin = i16("BICONCLOSEGLOWMARGIN", 0);
    d.MaxGlowMargin = i16("BICONMAXGLOWMARGIN", 0);
    d.MinGlowMargin = i16("BICONMINGLOWMARGIN", 0);
    report_.VersionTooNew = d.Version > 255;
  }

  static TsGeneralData ReadSection(const TsOptionsFile& f, int i) {
    TsGeneralData d;
    const std::string* parent = f.OwnValue(i, "PARENTCLASS");
    d.ParentClass = parent ? *parent : "";
    d.SectionName = f.Sections()[size_t(i)].Name;
    auto integer = [&](const char* key, int32_t def) { return f.ReadSectionInteger(i, key, def); };
    auto flag = [&](const char* key) { return f.ReadSectionFlag(i, key, false); };
    d.Color = ColorToRGB(integer("COLOR", 16777215));
    d.ReservedBoolean = flag("RESERVEDBOOLEAN");
    d.GiveOwnFont = flag("GIVEOWNFONT");
    d.GlowCount = integer("GLOW", 0);
    d.GlowMargin = integer("GLOWMARGIN", 0);
    d.FontColor = {integer("FONTCOLOR", 0), integer("TCLEFT", -1), integer("TCTOP", -1),
                   integer("TCRIGHT", -1), integer("TCBOTTOM", -1)};
    d.HotFontColor = {integer("HOTFONTCOLOR", 0), integer("HOTTCLEFT", -1), integer("HOTTCTOP", -1),
                      integer("HOTTCRIGHT", -1), integer("HOTTCBOTTOM", -1)};
    d.Transparency = integer("TRANSPARENCY", 0);
    d.GradientPercent = integer("GRADIENTPERCENT", 0);
    d.ImagePercent = integer("IMAGEPERCENT", 0);
    d.GradientData = f.ReadSectionText(i, "GRADIENTDATA", " ");
    d.GradientArray = ParseGradientData(d.GradientData);
    d.ShowFocus = flag("SHOWFOCUS");
    d.FadingEnabled = flag("FADINGENABLED");
    d.FadingIterations = integer("FADINGITERATIONS", 5);
    d.HotColor = integer("HOTCOLOR", 16777215);
    d.HotTransparency = integer("HOTTRANSPARENCY", 0);
    d.HotGradientPercent = integer("HOTGRADIENTPERCENT", 0);
    d.HotGradientData = f.ReadSectionText(i, "HOTGRADIENTDATA", "");
    d.HotGradientArray = ParseGradientData(d.HotGradientData);
    d.HotImagePercent = integer("HOTIMAGEPERCENT", 0);
    return d;
  }

  // A section of CommonSections: its own values, else the parent section's (a section of the
  // table whose upper-cased name equals the upper-cased PARENTCLASS), else the defaults.
  TsGeneralData ReadCommonSection(const TsOptionsFile& f, int i) const {
    TsGeneralData defaults;
    const std::string* parentName = f.OwnValue(i, "PARENTCLASS");
    const std::string parentUpper = parentName ? UpperCase(*parentName) : "";
    const TsGeneralData* parent = &defaults;
    for (const TsGeneralData& s : t_->Sections)
      if (!parentUpper.empty() && UpperCase(s.SectionName) == parentUpper) {
        parent = &s;
        break;
      }
    TsGeneralData d = *parent;
    d.SectionName = f.Sections()[size_t(i)].Name;
    d.ParentClass = parentUpper;
    d.BorderIndex = d.ImgTopLeft = d.ImgTopRight = d.ImgBottomLeft = d.ImgBottomRight = -1;
    auto integer = [&](const char* key, int32_t& field, bool color = false) {
      const std::string* v = f.OwnValue(i, key);
      const auto n = v ? ParseInteger(*v) : std::nullopt;
      if (n && *n != -1) field = color ? ColorToRGB(*n) : *n;
    };
    auto flag = [&](const char* key, bool& field) {
      const std::string* v = f.OwnValue(i, key);
      if (v && *v != "?") field = UpperCase(*v) == "TRUE";
    };
    auto gradient = [&](const char* key, std::string& data, TsGradArray& steps) {
      const std::string* v = f.OwnValue(i, key);
      if (v && *v != "?") {
        data = *v;
        steps = ParseGradientData(data);
      }
    };
    integer("COLOR", d.Color, true);
    flag("RESERVEDBOOLEAN", d.ReservedBoolean);
    flag("GIVEOWNFONT", d.GiveOwnFont);
    integer("GLOW", d.GlowCount);
    integer("GLOWMARGIN", d.GlowMargin);
    integer("FONTCOLOR", d.FontColor.Color);
    integer("TCLEFT", d.FontColor.Left);
    integer("TCTOP", d.FontColor.Top);
    integer("TCRIGHT", d.FontColor.Right);
    integer("TCBOTTOM", d.FontColor.Bottom);
    integer("HOTFONTCOLOR", d.HotFontColor.Color);
    integer("HOTTCLEFT", d.HotFontColor.Left);
    integer("HOTTCTOP", d.HotFontColor.Top);
    integer("HOTTCRIGHT", d.HotFontColor.Right);
    integer("HOTTCBOTTOM", d.HotFontColor.Bottom);
    integer("TRANSPARENCY", d.Transparency);
    integer("GRADIENTPERCENT", d.GradientPercent);
    integer("IMAGEPERCENT", d.ImagePercent);
    gradient("GRADIENTDATA", d.GradientData, d.GradientArray);
    flag("SHOWFOCUS", d.ShowFocus);
    flag("FADINGENABLED", d.FadingEnabled);
    integer("FADINGITERATIONS", d.FadingIterations);
    integer("HOTCOLOR", d.HotColor);
    integer("HOTTRANSPARENCY", d.HotTransparency);
    integer("HOTGRADIENTPERCENT", d.HotGradientPercent);
    gradient("HOTGRADIENTDATA", d.HotGradientData, d.HotGradientArray);
    integer("HOTIMAGEPERCENT", d.HotImagePercent);
    return d;
  }

  void LoadSections() {
    TsSkinTables& t = *t_;
    if (options_) {
      LoadGlobalData();
      for (int i = 0; i < int(options_->Sections().size()); ++i)
        t.Sections.push_back(ReadSection(*options_, i));
    } else if (stored_) {
      LoadStoredGlobalData();
      for (const TsSkinGeneral& g : stored_->GeneralData) t.Sections.push_back(StoredSection(g));
    }
    if (common_)
      for (int i = 0; i < int(common_->Sections().size()); ++i)
        if (t.IndexOfSection(common_->Sections()[size_t(i)].Name) < 0)
          t.Sections.push_back(ReadCommonSection(*common_, i));
    t.CacheSectionMasks();
    ApplyHue(t, settings_.HueOffset);
    ApplySaturation(t, settings_.Saturation);
  }

  // [SECTION] PARENTCLASS problems worth telling a skin author

  void ReportParentProblems() {
    const TsOptionsFile& f = *options_;
    const auto& sections = f.Sections();
    for (int i = 0; i < int(sections.size()); ++i) {
      const std::string* parent = f.OwnValue(i, "PARENTCLASS");
      if (!parent || parent->empty() || *parent == "?") continue;
      const std::string head = "[" + sections[size_t(i)].Name + "] PARENTCLASS=" + *parent + ": ";
      if (SameText(*parent, sections[size_t(i)].Name)) {
        report_.ParentProblems.push_back(head + "names the section itself");
        continue;
      }
      const int p = f.FindSection(*parent);
      if (p < 0) {
        report_.ParentProblems.push_back(head + "names no section");
        continue;
      }
      if (sections[size_t(p)].Name != *parent)
        report_.ParentProblems.push_back(head + "matches [" + sections[size_t(p)].Name +
                                         "] only ignoring letter case; images are not inherited");
      std::vector<bool> seen(sections.size(), false);
      seen[size_t(i)] = true;
      std::string path = sections[size_t(i)].Name;
      for (int s = p; s >= 0; s = f.ParentOf(s)) {
        path += " -> " + sections[size_t(s)].Name;
        if (seen[size_t(s)]) {
          report_.ParentProblems.push_back(head + "the chain runs in a circle: " + path);
          break;
        }
        seen[size_t(s)] = true;
      }
    }
  }

  const TsOptionsFile* options_;
  const TsStoredSkinData* stored_;
  TFileSource& files_;
  std::string skinPath_;
  const TsSkinLoadOptions& settings_;
  TsSkinLoadReport& report_;
  std::optional<TsOptionsFile> common_;
  TsSkinTables* t_ = nullptr;
  size_t imageBytes_ = 0;  // decoded own images so far
};

void BuildInto(const TsOptionsFile* options, TFileSource& files, const std::string& skinPath,
               TsSkinTables& tables, const TsSkinLoadOptions& settings, TsSkinLoadReport* report) {
  TsSkinLoadReport local;
  TsSkinLoadReport& r = report ? *report : local;
  r = TsSkinLoadReport();
  TsSkinTables fresh;
  TSkinBuilder(options, files, skinPath, settings, r).Build(fresh);
  tables.Swap(fresh);
}

// No files: an older stored skin has everything in its collections.
class TNoFiles final : public TFileSource {
 public:
  const std::vector<uint8_t>* Find(const std::string&, std::string& why) override {
    why = "a stored skin has no files";
    return nullptr;
  }
};

void LoadFromReader(const TzkSkinConvertor& reader, const std::string& skinPath,
                    TsSkinTables& tables, const TsSkinLoadOptions& settings, TsSkinLoadReport* report) {
  std::optional<TsOptionsFile> options;
  if (reader.HasOptions()) {
    const std::vector<uint8_t>& text = reader.Options();
    options.emplace(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
  }
  TArchiveFiles files(reader);
  BuildInto(options ? &*options : nullptr, files, skinPath, tables, settings, report);
}

}  // namespace

// [SECTION] Entry points

void LoadSkinFromArchive(const uint8_t* data, size_t size, TsSkinTables& tables,
                         const TsSkinLoadOptions& options, TsSkinLoadReport* report) {
  std::unique_ptr<TzkSkinConvertor> reader;
  TzkSkinConvertor::ParseBuffer(data, size, reader);
  LoadFromReader(*reader, "", tables, options, report);
}

void LoadSkinFromStoredData(const TsStoredSkinData& stored, TsSkinTables& tables,
                            const TsSkinLoadOptions& options, TsSkinLoadReport* report) {
  TsSkinLoadReport local;
  TsSkinLoadReport& r = report ? *report : local;
  r = TsSkinLoadReport();
  TNoFiles files;
  TsSkinTables fresh;
  TSkinBuilder(nullptr, files, "", options, r, &stored).Build(fresh);
  tables.Swap(fresh);
}

TsFontColor ParseStoredFontColor(const std::string& text) {
  std::vector<int32_t> numbers;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    size_t end = i;
    while (end < text.size() && text[end] != ' ') ++end;
    if (end > i) {
      const std::optional<int32_t> n = ParseInteger(text.substr(i, end - i));
      if (!n) return TsFontColor();
      numbers.push_back(*n);
    }
    i = end;
  }
  if (numbers.size() != 5) return TsFontColor();
  return TsFontColor{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]};
}

void LoadSkinFromPackedFile(const std::string& path, TsSkinTables& tables,
                            const TsSkinLoadOptions& options, TsSkinLoadReport* report) {
  std::unique_ptr<TzkSkinConvertor> reader;
  TzkSkinConvertor::OpenPackedFile(path, reader, true);
  if (!reader) throw EzkSkinError("Cannot open the skin file \"" + path + "\"");
  const std::string folder = std::filesystem::u8path(path).parent_path().u8string();
  LoadFromReader(*reader, WithTrailingSeparator(folder), tables, options, report);
}

bool LoadSkinFromFolder(const std::string& folder, TsSkinTables& tables,
                        const TsSkinLoadOptions& options, TsSkinLoadReport* report) {
  const std::string skinPath = WithTrailingSeparator(folder);
  const std::string optionsPath = ResolveSkinFile(skinPath, "Options.dat");
  if (!FileExists(optionsPath)) return false;
  const std::vector<uint8_t> text = ReadWholeFile(optionsPath, kMaxOptionsBytes);
  const TsOptionsFile file(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
  TDiskFiles files(skinPath);
  BuildInto(&file, files, skinPath, tables, options, report);
  return true;
}

std::string WithTrailingSeparator(const std::string& folder) {
#ifdef _WIN32
  const char separator = '\\';
#else
  const char separator = '/';
#endif
  if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder;
  return folder + separator;
}

std::string ResolveSkinFile(const std::string& skinPath, const std::string& name) {
  const std::string path = name.find(':') != std::string::npos ? name : skinPath + name;
  if (FileExists(path)) return path;
  namespace fs = std::filesystem;
  const fs::path p = fs::u8path(path);
  const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
  const std::string wanted = p.filename().u8string();
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string candidate = it->path().filename().u8string();
    if (SameText(candidate, wanted) && it->is_regular_file(ec))
      return p.has_parent_path() ? (p.parent_path() / it->path().filename()).u8string() : candidate;
  }
  return path;
}
