// The picture loader under Wine: pictures made by ImageMagick in each
// format loaded at their size and fitted into a smaller maximum (probed on
// their colour blocks), GIFs through the conversion file, BMPs through the
// imaging library, a sidecar's objects drawn over the picture and its
// preview shown for thumbnails, damaged files refused, and the memory-DC
// helpers copying a bitmap into a DC and a window.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/obf_name.h"
#include "harness.h"
#include "image_startup.h"
#include "image_test_support.h"
#include "obf_file.h"
#include "obf_test_objects.h"
#include "picture_loader.h"
#include "test_files.h"
#include "themecore_loader.h"

using imagetest::DibCanvas;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kLime = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);

int Distance(COLORREF a, COLORREF b) {
  int worst = 0;
  for (int shift : {0, 8, 16}) {
    const int d = std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    worst = d > worst ? d : worst;
  }
  return worst;
}

// The pixels of a bitmap the loader gave, read back as 32-bit RGB.
class BitmapPixels {
 public:
  explicit BitmapPixels(HBITMAP bitmap) {
    BITMAP info = {};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof(info), &info) == 0) return;
    width_ = info.bmWidth;
    height_ = info.bmHeight;
    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = width_;
    header.bmiHeader.biHeight = -height_;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    pixels_.assign(static_cast<size_t>(width_) * height_, 0);
    HDC screen = GetDC(nullptr);
    if (GetDIBits(screen, bitmap, 0, height_, pixels_.data(), &header, DIB_RGB_COLORS) != height_) {
      pixels_.clear();
      width_ = height_ = 0;
    }
    ReleaseDC(nullptr, screen);
  }
  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return RGB(1, 2, 3);
    const uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

// What one call of the loader gave.
struct Loaded {
  HBITMAP bitmap = nullptr;
  std::string path;
  int32_t width = -7;
  int32_t height = -7;
  int32_t colours = -7;
  uint8_t bitsPerPixel = 77;
  int32_t overlay = -7;
  ~Loaded() {
    if (bitmap != nullptr) DeleteObject(bitmap);
  }
};

void Load(const std::string& path, int32_t maxWidth, int32_t maxHeight, int32_t coloursIn, int32_t usePreview,
          Loaded* loaded) {
  loaded->path = path;
  loaded->colours = coloursIn;
  loaded->bitmap = suite::LoadPictureBitmap(loaded->path, maxWidth, maxHeight, loaded->width, loaded->height,
                                            loaded->colours, loaded->bitsPerPixel, loaded->overlay, usePreview);
}

class PictureLoader : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { token_ = suite::ImgStartupWhenPresent(); }
  static void TearDownTestSuite() {
    suite::DeleteGifConversionFiles();
    suite::ImgShutdown(token_);
    token_ = 0;
  }
  void SetUp() override {
    ASSERT_NE(token_, 0u) << "GDI+ did not start";
    if (!imagetest::HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
  }

  // Runs ImageMagick's convert in the scratch folder; true when `name` exists.
  bool Convert(const std::string& arguments, const std::string& name) {
    std::string output;
    const std::string folder = imagetest::UnixPathOf(folder_.path());
    return imagetest::RunUnixShell("cd '" + folder + "' && convert " + arguments + " '" + name + "'", 30000,
                                   &output) &&
           harness::FileExists(folder_.Child(name));
  }

  // 80 x 40 in four 40 x 20 blocks: red, lime / blue, yellow.
  bool MakeBlocks(const std::string& name) {
    return Convert("-size 40x20 xc:red xc:lime +append \\( -size 40x20 xc:blue xc:yellow +append \\) -append "
                   "-quality 95",
                   name);
  }

  static uintptr_t token_;
  harness::ScratchFolder folder_{"picture loader"};
};
uintptr_t PictureLoader::token_ = 0;

// The four blocks' centres at a scale of the 80 x 40 picture.
void ExpectBlocks(const BitmapPixels& pixels, int width, int height, int tolerance) {
  ASSERT_EQ(pixels.width(), width);
  ASSERT_EQ(pixels.height(), height);
  const struct { double x, y; COLORREF colour; } blocks[] = {
      {0.25, 0.25, kRed}, {0.75, 0.25, kLime}, {0.25, 0.75, kBlue}, {0.75, 0.75, kYellow}};
  for (const auto& b : blocks) {
    const int x = static_cast<int>(b.x * width);
    const int y = static_cast<int>(b.y * height);
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
    EXPECT_LE(Distance(pixels.At(x, y), b.colour), tolerance) << std::hex << pixels.At(x, y);
  }
}

TEST_F(PictureLoader, EachFormatAtItsSizeAndFitted) {
  struct Case { const char* name; int tolerance; uint8_t bits; };
  const Case cases[] = {{"blocks.jpg", 40, 24}, {"blocks.png", 0, 0}, {"blocks.gif", 0, 8},
                        {"blocks.bmp", 0, 24}, {"blocks.tif", 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(MakeBlocks(c.name));
    const std::string path = folder_.Child(c.name);
    {
      Loaded full;
      Load(path, 0, 0, 0, 0, &full);
      ASSERT_NE(full.bitmap, nullptr);
      EXPECT_EQ(full.width, 80);
      EXPECT_EQ(full.height, 40);
      EXPECT_EQ(full.overlay, 0);
      EXPECT_EQ(full.path, path);  // GDI+ reads GIFs itself
      if (c.bits != 0) {
        EXPECT_EQ(full.bitsPerPixel, c.bits);
      }
      EXPECT_GE(full.bitsPerPixel, 1);
      ExpectBlocks(BitmapPixels(full.bitmap), 80, 40, c.tolerance);
    }
    // Into 50 x 50: 50 x 25, the proportions kept; the outputs stay the
    // picture's own size.
    Loaded fitted;
    Load(path, 50, 50, 0, 0, &fitted);
    ASSERT_NE(fitted.bitmap, nullptr);
    EXPECT_EQ(fitted.width, 80);
    EXPECT_EQ(fitted.height, 40);
    ExpectBlocks(BitmapPixels(fitted.bitmap), 50, 25, c.tolerance + 40);
    // A larger maximum never enlarges.
    Loaded roomy;
    Load(path, 500, 300, 0, 0, &roomy);
    ExpectBlocks(BitmapPixels(roomy.bitmap), 80, 40, c.tolerance);
  }
}

TEST_F(PictureLoader, BmpAndForcedFilesGoThroughTheImagingLibrary) {
  ASSERT_TRUE(MakeBlocks("blocks.bmp"));
  ASSERT_TRUE(MakeBlocks("blocks.png"));
  const std::string trace = folder_.Child("trace.txt");
  harness::ScopedEnvironment tracing("ORB_TRACE", trace.c_str());
  struct Case { const char* name; int32_t coloursIn; bool imaging; };
  const Case cases[] = {{"blocks.bmp", 0, true}, {"blocks.png", 0, false}, {"blocks.png", 1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " colours " + std::to_string(c.coloursIn));
    DeleteFileA(trace.c_str());
    Loaded loaded;
    Load(folder_.Child(c.name), 60, 60, c.coloursIn, 0, &loaded);
    ASSERT_NE(loaded.bitmap, nullptr);
    ExpectBlocks(BitmapPixels(loaded.bitmap), 60, 30, 40);
    std::string lines;
    harness::ReadFileBytes(trace, &lines);
    EXPECT_EQ(lines.find("imaging L_LoadBitmap") != std::string::npos, c.imaging) << lines;
    EXPECT_EQ(lines.find("imaging L_SizeBitmap(") != std::string::npos, c.imaging) << lines;
    // The imaging library counts the colours: the four blocks.
    EXPECT_EQ(loaded.colours, c.imaging ? 4 : 0);
  }
}

TEST_F(PictureLoader, ForcedGifGoesThroughTheConversionFile) {
  ASSERT_TRUE(MakeBlocks("blocks.gif"));
  const std::string gif = folder_.Child("blocks.gif");
  Loaded loaded;
  Load(gif, 0, 0, 1, 0, &loaded);
  ASSERT_NE(loaded.bitmap, nullptr);
  const std::string conversion = suite::GifConversionFilePath();
  EXPECT_EQ(loaded.path, conversion);
  EXPECT_NE(conversion.find("CONV.G2B"), std::string::npos);
  // ImageMagick names the BMP version ("BMP3" for a 24-bit Windows BMP).
  const std::string identified = imagetest::Identify(conversion, "%m %w %h");
  EXPECT_EQ(identified.substr(0, 3), "BMP") << identified;
  EXPECT_EQ(identified.substr(identified.find(' ') + 1), "80 40") << identified;
  EXPECT_EQ(loaded.bitsPerPixel, 8);
  EXPECT_EQ(loaded.colours, 4);
  ExpectBlocks(BitmapPixels(loaded.bitmap), 80, 40, 0);

  // A damaged GIF: no picture, and not the previous one from the old file.
  ASSERT_TRUE(harness::WriteFileBytes(folder_.Child("broken.gif"), "GIF89a\x10\x00\x10\x00garbage"));
  Loaded broken;
  Load(folder_.Child("broken.gif"), 0, 0, 1, 0, &broken);
  EXPECT_EQ(broken.bitmap, nullptr);
  EXPECT_EQ(broken.width, 0);
  EXPECT_EQ(broken.height, 0);
  EXPECT_EQ(broken.bitsPerPixel, 0);
  EXPECT_FALSE(harness::FileExists(conversion));

  // ConvertGifForImaging alone: other names are left as they are.
  std::string name = folder_.Child("blocks.png");
  EXPECT_EQ(suite::ConvertGifForImaging(name), 0);
  EXPECT_EQ(name, folder_.Child("blocks.png"));
  name = gif;
  EXPECT_EQ(suite::ConvertGifForImaging(name), -1);
  EXPECT_EQ(name, conversion);
  suite::DeleteGifConversionFiles();
  EXPECT_FALSE(harness::FileExists(conversion));
}

// The thumbnail thread and the main thread convert GIFs at the same time:
// each gets its own conversion file, so each shows its own picture.
TEST_F(PictureLoader, GifsConvertedOnTwoThreadsAtOnceStayApart) {
  ASSERT_TRUE(MakeBlocks("blocks.gif"));
  ASSERT_TRUE(Convert("-size 30x70 xc:blue", "tall.gif"));
  struct Worker {
    std::string path;
    int width;
    int height;
    COLORREF centre;
    int wrong = 0;
    std::string conversion;
  };
  Worker workers[] = {{folder_.Child("blocks.gif"), 80, 40, kRed, 0, ""},
                      {folder_.Child("tall.gif"), 30, 70, kBlue, 0, ""}};
  auto run = [](Worker* worker) {
    for (int round = 0; round < 12; ++round) {
      Loaded loaded;
      Load(worker->path, 0, 0, 1, 0, &loaded);
      const BitmapPixels pixels(loaded.bitmap);
      const bool right = loaded.bitmap != nullptr && pixels.width() == worker->width &&
                         pixels.height() == worker->height && loaded.width == worker->width &&
                         pixels.At(worker->width / 4, worker->height / 4) == worker->centre;
      worker->wrong += right ? 0 : 1;
      worker->conversion = loaded.path;
    }
  };
  std::thread first(run, &workers[0]);
  std::thread second(run, &workers[1]);
  first.join();
  second.join();
  // Deletes every conversion file of the process, so only once both threads
  // are done (as the programs do at their end).
  suite::DeleteGifConversionFiles();
  EXPECT_EQ(workers[0].wrong, 0);
  EXPECT_EQ(workers[1].wrong, 0);
  EXPECT_NE(workers[0].conversion, workers[1].conversion);
  EXPECT_NE(workers[0].conversion.find("CONV.G2B"), std::string::npos);
}

TEST_F(PictureLoader, MissingAndDamagedFilesGiveNothing) {
  ASSERT_TRUE(harness::WriteFileBytes(folder_.Child("bad.jpg"), std::string("\xFF\xD8\xFF\xE0 not really", 15)));
  ASSERT_TRUE(harness::WriteFileBytes(folder_.Child("bad.bmp"), "BM\x10\x00"));
  ASSERT_TRUE(harness::WriteFileBytes(folder_.Child("empty.png"), ""));
  for (const char* name : {"missing.png", "missing.bmp", "bad.jpg", "bad.bmp", "empty.png", "noextension"}) {
    for (int32_t forced : {0, 1}) {
      SCOPED_TRACE(std::string(name) + (forced ? " forced" : ""));
      Loaded loaded;
      Load(folder_.Child(name), 40, 40, forced, 1, &loaded);
      EXPECT_EQ(loaded.bitmap, nullptr);
      EXPECT_EQ(loaded.width, 0);
      EXPECT_EQ(loaded.height, 0);
      EXPECT_EQ(loaded.colours, 0);
      EXPECT_EQ(loaded.bitsPerPixel, 0);
    }
  }
}

// A 240 x 160 white picture and its sidecar with the overlay fixture; the
// sidecar's preview is a green 48 x 32 JPEG.
class PictureLoaderOverlay : public PictureLoader {
 protected:
  void SetUp() override {
    PictureLoader::SetUp();
    if (IsSkipped()) return;
    family_ = obftest::ExistingFamily();
    ASSERT_FALSE(family_.empty()) << "no font family found";
    ASSERT_TRUE(Convert("-size 240x160 xc:white", "fixture.png"));
    ASSERT_TRUE(Convert("-size 48x32 xc:lime -quality 95", "preview.jpg"));
    picture_ = folder_.Child("fixture.png");
    overlay::ObfDocument document;
    ASSERT_TRUE(harness::ReadFileBytes(folder_.Child("preview.jpg"), &document.preview));
    document.objects = obftest::FixtureObjects(family_);
    document.trailer.canvasWidth = 240;
    document.trailer.canvasHeight = 160;
    document.trailer.colourCount = 5;
    ASSERT_EQ(overlay::WriteObfSidecar(picture_, document), overlay::ObfStatus::kOk);
    sidecar_ = folder_.Child("fixture.obf");
    ASSERT_TRUE(harness::FileExists(sidecar_));
  }

  // The overlay at full size, as the overlay renderer's own test sees it.
  static void ExpectObjectsAtFullSize(const BitmapPixels& pixels) {
    ASSERT_EQ(pixels.width(), 240);
    ASSERT_EQ(pixels.height(), 160);
    EXPECT_EQ(pixels.At(230, 5), kWhite);  // the picture itself
    // The text: dark pixels from (10, 10) in a box of two 24-pixel letters.
    int left = 999, top = 999, right = -1, bottom = -1;
    for (int y = 0; y < 70; ++y) {
      for (int x = 0; x < 110; ++x) {
        const COLORREF c = pixels.At(x, y);
        if (GetRValue(c) >= 100 || GetGValue(c) >= 100) continue;
        left = std::min(left, x), top = std::min(top, y), right = std::max(right, x), bottom = std::max(bottom, y);
      }
    }
    ASSERT_GE(right, 0) << "no text drawn";
    EXPECT_GE(left, 10);
    EXPECT_GE(top, 10);
    EXPECT_LE(right, 50);
    EXPECT_LE(bottom, 40);
    // The arrow along y = 20 from x = 120.
    for (int x = 125; x <= 165; x += 10) {
      SCOPED_TRACE(x);
      EXPECT_GT(GetBValue(pixels.At(x, 20)), 200);
      EXPECT_LT(GetRValue(pixels.At(x, 20)), 100);
      EXPECT_EQ(pixels.At(x, 28), kWhite);
    }
    EXPECT_EQ(pixels.At(115, 20), kWhite);
    // The filled ellipse (20, 80, 60 x 40): red inside, white in its box's corners.
    EXPECT_EQ(pixels.At(50, 100), kRed);
    EXPECT_EQ(pixels.At(22, 82), kWhite);
    EXPECT_EQ(pixels.At(78, 118), kWhite);
    // The rectangle (120, 80, 40 x 30) and its shadow at (125, 85).
    EXPECT_EQ(pixels.At(140, 95), kLime);
    EXPECT_EQ(pixels.At(121, 81), kLime);
    EXPECT_NEAR(GetRValue(pixels.At(162, 112)), 127, 4);
    EXPECT_EQ(GetRValue(pixels.At(162, 112)), GetGValue(pixels.At(162, 112)));
    EXPECT_NEAR(GetRValue(pixels.At(126, 113)), 127, 4);
    EXPECT_GT(GetRValue(pixels.At(121, 113)), 240);
    EXPECT_EQ(pixels.At(163, 83), kWhite);
    EXPECT_EQ(pixels.At(167, 100), kWhite);
    // Hidden and empty objects drew nothing.
    EXPECT_EQ(pixels.At(205, 125), kWhite);
    for (int x = 10; x < 80; x += 3) {
      for (int y = 130; y < 158; y += 3) ASSERT_EQ(pixels.At(x, y), kWhite) << x << "," << y;
    }
  }

  std::string family_;
  std::string picture_;
  std::string sidecar_;
};

TEST_F(PictureLoaderOverlay, ObjectsAreDrawnWhereTheirRecordsPutThem) {
  Loaded loaded;
  Load(picture_, 0, 0, 0, 0, &loaded);
  ASSERT_NE(loaded.bitmap, nullptr);
  EXPECT_EQ(loaded.overlay, 1);
  EXPECT_EQ(loaded.width, 240);
  EXPECT_EQ(loaded.height, 160);
  EXPECT_EQ(loaded.path, picture_);
  const BitmapPixels pixels(loaded.bitmap);
  ExpectObjectsAtFullSize(pixels);
  // The same through the imaging library.
  Loaded forced;
  Load(picture_, 0, 0, 1, 0, &forced);
  ASSERT_NE(forced.bitmap, nullptr);
  ExpectObjectsAtFullSize(BitmapPixels(forced.bitmap));
}

TEST_F(PictureLoaderOverlay, ContactSheetScalesTheObjectsWithThePicture) {
  Loaded loaded;
  Load(picture_, 120, 120, 0, 0, &loaded);
  ASSERT_NE(loaded.bitmap, nullptr);
  EXPECT_EQ(loaded.width, 240);
  EXPECT_EQ(loaded.height, 160);
  const BitmapPixels pixels(loaded.bitmap);
  ASSERT_EQ(pixels.width(), 120);
  ASSERT_EQ(pixels.height(), 80);
  // Every position halved: the ellipse's centre, the rectangle, its shadow
  // only, the arrow, and white away from all of them.
  EXPECT_LE(Distance(pixels.At(25, 50), kRed), 10);
  EXPECT_LE(Distance(pixels.At(70, 47), kLime), 10);
  EXPECT_NEAR(GetRValue(pixels.At(81, 56)), 127, 12);
  EXPECT_GT(GetBValue(pixels.At(75, 10)), 150);
  EXPECT_LT(GetRValue(pixels.At(75, 10)), 120);
  EXPECT_EQ(pixels.At(110, 70), kWhite);
  EXPECT_EQ(pixels.At(60, 30), kWhite);
}

TEST_F(PictureLoaderOverlay, ThumbnailShowsTheSidecarPreview) {
  Loaded loaded;
  Load(picture_, 64, 64, 0, 1, &loaded);
  ASSERT_NE(loaded.bitmap, nullptr);
  EXPECT_EQ(loaded.path, sidecar_);
  EXPECT_EQ(loaded.overlay, 1);
  // The picture's size from the trailer, not the preview's 48 x 32.
  EXPECT_EQ(loaded.width, 240);
  EXPECT_EQ(loaded.height, 160);
  EXPECT_EQ(loaded.colours, 5);
  EXPECT_EQ(loaded.bitsPerPixel, 24);
  const BitmapPixels pixels(loaded.bitmap);
  EXPECT_EQ(pixels.width(), 48);
  EXPECT_EQ(pixels.height(), 32);
  EXPECT_LE(Distance(pixels.At(24, 16), kLime), 20);
  EXPECT_LE(Distance(pixels.At(2, 2), kLime), 20);
}

TEST_F(PictureLoaderOverlay, DamagedSidecarFallsBackToThePicture) {
  std::string bytes;
  ASSERT_TRUE(harness::ReadFileBytes(sidecar_, &bytes));
  // The preview length in the trailer (offset 273) pointing past the end.
  std::string pastEnd = bytes;
  const size_t j = pastEnd.size() - 284 + 273;
  pastEnd[j] = '\xFF', pastEnd[j + 1] = '\xFF', pastEnd[j + 2] = '\x00', pastEnd[j + 3] = '\x00';
  struct Case { const char* name; std::string bytes; };
  const Case cases[] = {
      {"preview length past the end", pastEnd},
      {"shorter than a trailer", bytes.substr(bytes.size() - 100)},
      {"preview not a picture", std::string(2000, 'x') + bytes.substr(bytes.size() - 284)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(harness::WriteFileBytes(sidecar_, c.bytes));
    Loaded loaded;
    Load(picture_, 60, 60, 0, 1, &loaded);
    ASSERT_NE(loaded.bitmap, nullptr);
    EXPECT_EQ(loaded.path, picture_);
    EXPECT_EQ(loaded.overlay, 1);
    EXPECT_EQ(loaded.width, 240);
    EXPECT_EQ(loaded.height, 160);
    const BitmapPixels pixels(loaded.bitmap);
    EXPECT_EQ(pixels.width(), 60);
    EXPECT_EQ(pixels.height(), 40);
    EXPECT_GT(GetRValue(pixels.At(50, 5)), 200);  // white picture, no green preview
    EXPECT_GT(GetBValue(pixels.At(50, 5)), 200);
  }
}

TEST_F(PictureLoaderOverlay, PictureWithoutExtensionUsesItsWholePathForTheSidecar) {
  const std::string bare = folder_.Child("bare");
  ASSERT_TRUE(CopyFileA(folder_.Child("fixture.png").c_str(), bare.c_str(), FALSE));
  EXPECT_EQ(overlay::ObfSidecarPath(bare), bare + ".obf");
  ASSERT_TRUE(CopyFileA(sidecar_.c_str(), (bare + ".obf").c_str(), FALSE));
  // No extension: the imaging library reads it by its signature.
  Loaded loaded;
  Load(bare, 0, 0, 0, 0, &loaded);
  ASSERT_NE(loaded.bitmap, nullptr);
  EXPECT_EQ(loaded.overlay, 1);
  ExpectObjectsAtFullSize(BitmapPixels(loaded.bitmap));
}

// Old systems: the same test program is started again with Wine told to
// report Windows NT 4.0 for it (AppDefaults), and the child loads a picture
// just over the memory limit.  The parent prepares the files and reads the
// child's result.
constexpr char kOldSystemChild[] = "ORB_LOADER_OLD_SYSTEM_FOLDER";

std::string ProgramFileName(std::string* fullPath) {
  char buffer[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  *fullPath = buffer;
  const std::string path = buffer;
  return path.substr(path.find_last_of("\\/") + 1);
}

// Sets the Windows version Wine reports to one program for the scope.
class WineVersionFor {
 public:
  WineVersionFor(const std::string& program, const char* version)
      : key_("Software\\Wine\\AppDefaults\\" + program) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
      return;
    }
    set_ = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                          static_cast<DWORD>(strlen(version) + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  ~WineVersionFor() { RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }
  bool set() const { return set_; }

 private:
  std::string key_;
  bool set_ = false;
};

TEST_F(PictureLoader, OldSystemKeepsBitmapsWithinTheMemoryLimit) {
  if (getenv(kOldSystemChild) != nullptr) GTEST_SKIP() << "the child runs OldSystemChild only";
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  if (bits != 32) GTEST_SKIP() << "the display has " << bits << " bits a pixel, the fixture is sized for 32";
  // 4100 x 1000 at 4 bytes a pixel: 16,400,000 bytes, ratio 1.025, so
  // 4000 x 976.  Red left half, blue right half.
  ASSERT_TRUE(Convert("-size 2050x1000 xc:red xc:blue +append", "big.png"));
  ASSERT_TRUE(CopyFileA(folder_.Child("big.png").c_str(), folder_.Child("marked.png").c_str(), FALSE));
  overlay::ObfDocument document;
  document.objects = {obftest::Shape(overlay::kKindRectangle, 2, {{0, 0}, {400, 400}}, 0xFF00FF00u, 3000, 500)};
  ASSERT_EQ(overlay::WriteObfSidecar(folder_.Child("marked.png"), document), overlay::ObfStatus::kOk);

  std::string program;
  const std::string name = ProgramFileName(&program);
  WineVersionFor version(name, "nt40");
  ASSERT_TRUE(version.set());
  harness::ScopedEnvironment child(kOldSystemChild, folder_.path().c_str());
  harness::Process process;
  const std::string output = folder_.Child("child.txt");
  ASSERT_TRUE(process.startWithOutput("\"" + program + "\" --gtest_filter=OldSystemChild.*", output));
  const long exitCode = process.waitExit(60000);
  std::string text;
  harness::ReadFileBytes(output, &text);
  EXPECT_EQ(exitCode, 0) << text;
  EXPECT_NE(text.find("[       OK ] OldSystemChild.LoadsWithinTheLimit"), std::string::npos) << text;
}

TEST(OldSystemChild, LoadsWithinTheLimit) {
  const char* folder = getenv(kOldSystemChild);
  if (folder == nullptr) GTEST_SKIP() << "started by OldSystemKeepsBitmapsWithinTheMemoryLimit";
  ASSERT_LT(SKOSVERSION(), 500) << "Wine does not report the old version";
  const uintptr_t token = suite::ImgStartupWhenPresent();
  ASSERT_NE(token, 0u);
  {
    Loaded plain;
    Load(std::string(folder) + "\\big.png", 0, 0, 0, 0, &plain);
    ASSERT_NE(plain.bitmap, nullptr);
    EXPECT_EQ(plain.width, 4100);
    EXPECT_EQ(plain.height, 1000);
    const BitmapPixels pixels(plain.bitmap);
    EXPECT_EQ(pixels.width(), 4000);
    EXPECT_EQ(pixels.height(), 976);
    EXPECT_LE(Distance(pixels.At(1000, 500), kRed), 10);
    EXPECT_LE(Distance(pixels.At(3000, 500), kBlue), 10);

    // The overlay is drawn at the picture's size and shrinks with it: the
    // rectangle (3000, 500)-(3400, 900) lands at about (2927, 488)-(3317, 878).
    for (int32_t forced : {0, 1}) {
      SCOPED_TRACE(forced ? "imaging library" : "GDI+");
      Loaded marked;
      Load(std::string(folder) + "\\marked.png", 0, 0, forced, 0, &marked);
      ASSERT_NE(marked.bitmap, nullptr);
      const BitmapPixels drawn(marked.bitmap);
      EXPECT_EQ(drawn.width(), 4000);
      EXPECT_EQ(drawn.height(), 976);
      EXPECT_LE(Distance(drawn.At(2935, 495), kLime), 10);
      EXPECT_LE(Distance(drawn.At(3310, 870), kLime), 10);
      EXPECT_LE(Distance(drawn.At(3350, 890), kBlue), 10);
      EXPECT_LE(Distance(drawn.At(2900, 480), kBlue), 10);
    }
  }
  suite::ImgShutdown(token);
}

// A 20 x 10 red bitmap compatible with the screen.
HBITMAP RedBitmap() {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 10);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH red = CreateSolidBrush(kRed);
  const RECT all = {0, 0, 20, 10};
  FillRect(dc, &all, red);
  DeleteObject(red);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

TEST(MemoryDc, BlitIntoADcDeletesUnlessKept) {
  DibCanvas canvas(60, 40, kWhite);
  HBITMAP bitmap = RedBitmap();
  const HBITMAP original = bitmap;
  EXPECT_EQ(suite::BlitMemoryBitmap(canvas.dc(), bitmap, 5, 7, 20, 10, 0, 0, 1), 1);
  EXPECT_EQ(canvas.At(5, 7), kRed);
  EXPECT_EQ(canvas.At(24, 16), kRed);
  EXPECT_EQ(canvas.At(25, 16), kWhite);
  EXPECT_EQ(canvas.At(4, 7), kWhite);
  EXPECT_EQ(bitmap, nullptr);
  EXPECT_EQ(GetObjectType(original), 0u);  // deleted

  HBITMAP kept = RedBitmap();
  canvas.Fill(kWhite);
  // NOTSRCCOPY: cyan where red was.
  EXPECT_EQ(suite::BlitMemoryBitmap(canvas.dc(), kept, 30, 20, 10, 5, NOTSRCCOPY, 1, 1), 1);
  EXPECT_EQ(canvas.At(35, 22), RGB(0, 255, 255));
  EXPECT_EQ(canvas.At(40, 22), kWhite);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_BITMAP));
  DeleteObject(kept);

  HBITMAP none = nullptr;
  EXPECT_EQ(suite::BlitMemoryBitmap(canvas.dc(), none, 0, 0, 10, 10, 0, 0, 1), 0);

  // The two halves on their own: a given DC answers -1 and the operation 0 becomes SRCCOPY.
  HBITMAP again = RedBitmap();
  HDC dc = nullptr;
  HDC memory = nullptr;
  DWORD operation = 0;
  EXPECT_EQ(suite::BeginMemoryDC(canvas.dc(), dc, again, memory, operation, 1), -1);
  EXPECT_EQ(dc, canvas.dc());
  ASSERT_NE(memory, nullptr);
  EXPECT_EQ(operation, static_cast<DWORD>(SRCCOPY));
  EXPECT_EQ(GetCurrentObject(memory, OBJ_BITMAP), again);
  suite::EndMemoryDC(1, nullptr, dc, memory);
  EXPECT_EQ(GetObjectType(memory), 0u);
  EXPECT_EQ(GetObjectType(canvas.dc()), static_cast<DWORD>(OBJ_MEMDC));
  DeleteObject(again);
}

LRESULT CALLBACK PlainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(MemoryDc, BlitIntoAWindow) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = PlainWindow;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = "OrbLoaderBlitTest";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(WS_EX_TOPMOST, "OrbLoaderBlitTest", "", WS_POPUP | WS_VISIBLE, 50, 50, 80, 60,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  UpdateWindow(window);
  // Let the window be shown and painted, for at most two seconds.
  const DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < 300) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(10);
  }
  HBITMAP bitmap = RedBitmap();
  EXPECT_EQ(suite::BlitMemoryBitmap(window, bitmap, 10, 10, 20, 10, SRCCOPY, 0, 0), 1);
  EXPECT_EQ(bitmap, nullptr);
  HDC dc = GetDC(window);
  EXPECT_EQ(GetPixel(dc, 15, 15), kRed);
  EXPECT_EQ(GetPixel(dc, 29, 19), kRed);
  EXPECT_EQ(GetPixel(dc, 31, 15), kWhite);
  ReleaseDC(window, dc);
  DestroyWindow(window);
}

}  // namespace
