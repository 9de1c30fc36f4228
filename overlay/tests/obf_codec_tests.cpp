// The OBF sidecar codec: object lines, the trailer, whole files read back
// identical, the sidecar name rule, and damaged files that must give no
// objects and a clear status (run under AddressSanitizer and UBSan).  The
// preview is checked with ImageMagick, which must find a JPEG at offset 0.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include "core/obf_document.h"
#include "core/obf_line.h"
#include "core/obf_name.h"
#include "core/obf_trailer.h"

using namespace std::string_literals;
using overlay::ObfDocument;
using overlay::ObfObject;
using overlay::ObfStatus;

namespace {

ObfObject TextObject(const std::string& text) {
  ObfObject o;
  o.kind = overlay::kKindText;
  o.style = 1;
  o.text = text;
  o.fontFamily = "Liberation Sans";
  o.size = 24;
  o.colour = 0xFFFF0000u;
  o.shadow = 3;
  o.x = 10;
  o.y = 20;
  o.width = 80;
  o.height = 30;
  o.number = 1;
  return o;
}

ObfObject ShapeObject(uint16_t kind, uint16_t style, std::vector<overlay::ObfPoint> points) {
  ObfObject o;
  o.kind = kind;
  o.style = style;
  o.points = std::move(points);
  o.size = 3;
  o.colour = 0x8000FF00u;
  o.shadow = -4;
  o.x = -5;
  o.y = 7;
  o.width = 100;
  o.height = 50;
  o.shown = 0;
  o.number = 2;
  o.flag = 255;
  return o;
}

TEST(ObfLine, EncodesFieldsAsTheOtherProgramsReadThem) {
  struct Case { const char* name; ObfObject object; std::string line; };
  const Case cases[] = {
      {"text with a bar is stored with byte 24", TextObject("a|b"),
       "1|1|3|a\x18" "b||Liberation Sans|24|0|-65536|3|10|20|80|30|1|1|0|"},
      {"blanks and zeros cut from the text", TextObject("  \0hi \0"s),
       "1|1|2|hi||Liberation Sans|24|0|-65536|3|10|20|80|30|1|1|0|"},
      {"empty text gets count 0", TextObject("   "),
       "1|1|0|||Liberation Sans|24|0|-65536|3|10|20|80|30|1|1|0|"},
      {"line break cannot split the line", TextObject("a\r\nb"),
       "1|1|4|a\x19\x1a" "b||Liberation Sans|24|0|-65536|3|10|20|80|30|1|1|0|"},
      {"shape points relative, negative allowed", ShapeObject(4, 5, {{1, -2}, {-300, 32767}}),
       "4|5|2|1,-2,-300,32767|||3|0|-2147418368|-4|-5|7|100|50|0|2|255|"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(overlay::EncodeObfLine(c.object), c.line);
  }
}

TEST(ObfLine, DecodesTolerantly) {
  struct Case {
    const char* name;
    std::string line;
    uint16_t kind;
    std::string text;
    size_t pointCount;
    uint32_t colour;
    int32_t y;
  };
  const Case cases[] = {
      {"bar restored", "1|1|3|a\x18" "b||Arial|12|0|-65536|0|1|2|3|4|1|1|0|", 1, "a|b", 0, 0xFFFF0000u, 2},
      {"missing fields read as 0", "5|2|2|1,2,3,4", 5, "", 2, 0, 0},
      {"empty numbers read as 0", "3||2|0,0,9,9|||||||||||||", 3, "", 2, 0, 0},
      {"garbage numbers read as 0", "2|x|2|0,0,9,9|||1e3|0|12abc|0| 5|-|1|1|1|1|1|", 2, "", 2, 0, 0},
      {"count 0 means no payload", "1|1|0|ignored||Arial|12|0|255|0|0|0|0|0|1|1|0|", 1, "", 0, 255, 0},
      {"negative count means no payload", "6|1|-3|1,2,3,4,5,6", 6, "", 0, 0, 0},
      {"count above the values present", "6|1|50|1,2,3,4,5", 6, "", 2, 0, 0},
      {"count above 256 is cut", "6|1|100000|" + [] {
         std::string p;
         for (int i = 0; i < 600; ++i) p += (i ? "," : "") + std::to_string(i);
         return p;
       }(), 6, "", 256, 0, 0},
      {"colour written unsigned keeps its bits", "2|2|2|0,0,1,1|||1|0|4294901760|0|0|0|0|0|1|0|0|", 2, "",
       2, 0xFFFF0000u, 0},
      {"huge numbers read as 0", "2|2|2|0,0,1,1|||1|0|99999999999999999999|0|0|0|0|0|1|0|0|", 2, "", 2, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ObfObject o = overlay::DecodeObfLine(c.line);
    EXPECT_EQ(o.kind, c.kind);
    EXPECT_EQ(o.text, c.text);
    EXPECT_EQ(o.points.size(), c.pointCount);
    EXPECT_EQ(o.colour, c.colour);
    EXPECT_EQ(o.y, c.y);
  }
}

TEST(ObfLine, CutsTextsAndClampsValues) {
  const std::string longText(3000, 'x');
  const ObfObject text = overlay::DecodeObfLine("1|1|3000|" + longText + "|" + longText + "|" +
                                                std::string(500, 'f') + "|1|0|0|0|0|0|0|0|1|0|999|" +
                                                std::string(500, 'n'));
  EXPECT_EQ(text.text.size(), overlay::kObfMaxTextBytes);
  EXPECT_EQ(text.secondText.size(), overlay::kObfMaxTextBytes);
  EXPECT_EQ(text.fontFamily.size(), overlay::kObfMaxNameBytes);
  EXPECT_EQ(text.note.size(), overlay::kObfMaxNameBytes);
  EXPECT_EQ(text.flag, 255);

  const ObfObject shape = overlay::DecodeObfLine("6|1|2|70000,-70000,5,6");
  ASSERT_EQ(shape.points.size(), 2u);
  EXPECT_EQ(shape.points[0], (overlay::ObfPoint{32767, -32768}));
  EXPECT_EQ(shape.points[1], (overlay::ObfPoint{5, 6}));

  // The writer keeps to the same limits, and drops bars from plain fields.
  ObfObject big = TextObject(std::string(2000, 'y'));
  big.fontFamily = "Ar|ial";
  const ObfObject back = overlay::DecodeObfLine(overlay::EncodeObfLine(big));
  EXPECT_EQ(back.text.size(), overlay::kObfMaxTextBytes);
  EXPECT_EQ(back.fontFamily, "Arial");
  EXPECT_EQ(back.number, big.number);
}

TEST(ObfTrailer, LaysOutTheBytes) {
  overlay::ObfTrailer t;
  t.pictureName = "holiday.jpg";
  t.canvasWidth = 640;
  t.canvasHeight = -1;
  t.colourCount = 16777216;
  t.previewLength = 0x01020304;
  const std::string bytes = overlay::EncodeObfTrailer(t);
  ASSERT_EQ(bytes.size(), 284u);
  EXPECT_EQ(bytes.substr(0, 11), "holiday.jpg");
  EXPECT_EQ(bytes.substr(11, 249), std::string(249, ' '));
  EXPECT_EQ(bytes.substr(260, 4), "\x80\x02\x00\x00"s);
  EXPECT_EQ(bytes.substr(264, 4), "\xff\xff\xff\xff"s);
  EXPECT_EQ(bytes.substr(268, 4), "\x00\x00\x00\x01"s);
  EXPECT_EQ(bytes[272], '\x18');
  EXPECT_EQ(bytes.substr(273, 4), "\x04\x03\x02\x01"s);
  EXPECT_EQ(bytes.substr(277), "0100OBF");

  overlay::ObfTrailer back;
  ASSERT_TRUE(overlay::DecodeObfTrailer(bytes, &back));
  EXPECT_EQ(back, t);
  EXPECT_FALSE(overlay::DecodeObfTrailer(bytes.substr(1), &back));
  EXPECT_FALSE(overlay::DecodeObfTrailer(bytes.substr(0, 283) + "X", &back));
}

TEST(ObfName, ReplacesTheExtensionOfTheFileName) {
  struct Case { const char* name; const char* picture; const char* sidecar; };
  const Case cases[] = {
      {"extension replaced", "C:\\pics\\holiday.jpg", "C:\\pics\\holiday.obf"},
      {"last dot of the name", "C:\\pics\\a.b.png", "C:\\pics\\a.b.obf"},
      {"no extension appends", "C:\\pics\\holiday", "C:\\pics\\holiday.obf"},
      {"dot in a folder is not the extension", "C:\\a.b\\pic", "C:\\a.b\\pic.obf"},
      {"forward slashes", "Z:/tmp/x.y/pic", "Z:/tmp/x.y/pic.obf"},
      {"drive only", "C:pic.gif", "C:pic.obf"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(overlay::ObfSidecarPath(c.picture), c.sidecar);
  }
  EXPECT_EQ(overlay::ObfFileNamePart("C:\\a.b\\pic.jpg"), "pic.jpg");
}

// A made-up preview: bytes that are not a JPEG are fine for the codec.
ObfDocument SampleDocument(const std::string& preview) {
  ObfDocument d;
  d.preview = preview;
  d.objects.push_back(TextObject("Hello | world"));
  d.objects.push_back(ShapeObject(overlay::kKindEllipse, 2, {{0, 0}, {40, 30}}));
  d.objects.push_back(ShapeObject(overlay::kKindArrow, 1, {{0, 0}, {20, 5}, {40, 40}}));
  ObfObject emptyText = TextObject("");
  emptyText.number = 4;
  d.objects.push_back(emptyText);
  d.trailer.pictureName = "holiday.jpg";
  d.trailer.canvasWidth = 320;
  d.trailer.canvasHeight = 200;
  d.trailer.colourCount = 65536;
  d.trailer.previewLength = static_cast<int32_t>(preview.size());
  return d;
}

TEST(ObfDocument, RoundTripIsIdentical) {
  for (const std::string& preview : {std::string(), std::string("\xff\xd8 jpeg \r\n|\xff\xd9", 12)}) {
    SCOPED_TRACE(preview.size());
    const ObfDocument d = SampleDocument(preview);
    const std::string bytes = overlay::EncodeObfDocument(d);
    EXPECT_EQ(bytes.substr(bytes.size() - 7), "0100OBF");
    const overlay::ObfReadResult r = overlay::DecodeObfDocument(bytes);
    ASSERT_EQ(r.status, ObfStatus::kOk);
    EXPECT_EQ(r.document, d);
    EXPECT_EQ(overlay::EncodeObfDocument(r.document), bytes);
  }
}

std::string WithPreviewLength(std::string bytes, int32_t j) {
  const size_t at = bytes.size() - 284 + 273;
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((static_cast<uint32_t>(j) >> (8 * i)) & 0xFF);
  return bytes;
}

TEST(ObfDocument, DamagedFilesGiveNoObjects) {
  const std::string good = overlay::EncodeObfDocument(SampleDocument("PREVIEW"));
  struct Case { const char* name; std::string bytes; ObfStatus status; };
  const Case cases[] = {
      {"empty", "", ObfStatus::kTooShort},
      {"three bytes", "OBF", ObfStatus::kTooShort},
      {"short with the tag", "abc0100OBF", ObfStatus::kTooShort},
      {"283 bytes ending OBF", good.substr(good.size() - 283), ObfStatus::kTooShort},
      {"short without the tag", "hello", ObfStatus::kNotObf},
      {"no tag", good.substr(0, good.size() - 1) + "X", ObfStatus::kNotObf},
      {"preview length past the end", WithPreviewLength(good, static_cast<int32_t>(good.size())),
       ObfStatus::kBadPreviewLength},
      {"preview length into the trailer", WithPreviewLength(good, static_cast<int32_t>(good.size() - 283)),
       ObfStatus::kBadPreviewLength},
      {"negative preview length", WithPreviewLength(good, -1), ObfStatus::kBadPreviewLength},
      {"largest preview length", WithPreviewLength(good, 0x7fffffff), ObfStatus::kBadPreviewLength},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const overlay::ObfReadResult r = overlay::DecodeObfDocument(c.bytes);
    EXPECT_EQ(r.status, c.status) << overlay::ObfStatusText(r.status);
    EXPECT_TRUE(r.document.objects.empty());
    EXPECT_TRUE(r.document.preview.empty());
  }
}

TEST(ObfDocument, OddButValidFilesReadWhatIsThere) {
  const std::string trailerOnly = overlay::EncodeObfTrailer({});
  struct Case { const char* name; std::string bytes; size_t objects; };
  const Case cases[] = {
      {"trailer only", trailerOnly, 0},
      {"no final line end", "2|2|2|0,0,5,5" + trailerOnly, 1},
      {"empty lines skipped", "\r\n\r\n3|1|2|0,0,5,5\r\n\r\n" + trailerOnly, 1},
      {"preview is the whole body", WithPreviewLength("2|2|2|0,0,5,5\r\n" + trailerOnly, 15), 0},
      {"missing fields", "1\r\n5|1\r\n" + trailerOnly, 2},
      {"text over 1024 bytes", "1|1|5000|" + std::string(5000, 'x') + "\r\n" + trailerOnly, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const overlay::ObfReadResult r = overlay::DecodeObfDocument(c.bytes);
    ASSERT_EQ(r.status, ObfStatus::kOk);
    EXPECT_EQ(r.document.objects.size(), c.objects);
    for (const ObfObject& o : r.document.objects) EXPECT_LE(o.text.size(), overlay::kObfMaxTextBytes);
  }
}

#if !defined(_WIN32)
// A scratch folder for files that outside tools read (the native build; under
// Wine the image tests of overlay/tests/overlay_wine_tests.cpp do the same).
class ObfFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/obf_codec_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + folder_ + "'").c_str()); }
  static std::string Run(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[256];
    while (fgets(buffer, sizeof(buffer), pipe) != nullptr) output += buffer;
    pclose(pipe);
    return output;
  }
  static bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
  }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string folder_;
};

TEST_F(ObfFiles, PreviewIsAJpegThatImageMagickReadsAtOffsetZero) {
  if (Run("command -v identify").empty()) GTEST_SKIP() << "ImageMagick is not installed";
  const std::string jpeg = folder_ + "/preview.jpg";
  ASSERT_EQ(std::system(("convert -size 48x32 gradient:red-blue '" + jpeg + "'").c_str()), 0);
  const std::string preview = ReadBytes(jpeg);
  ASSERT_GT(preview.size(), 100u);

  const std::string obf = folder_ + "/holiday.obf";
  ASSERT_TRUE(WriteBytes(obf, overlay::EncodeObfDocument(SampleDocument(preview))));
  const std::string file = ReadBytes(obf);
  EXPECT_EQ(file.substr(file.size() - 7), "0100OBF");

  // ImageMagick finds the JPEG by its signature at offset 0 of the sidecar,
  // and the J bytes the trailer names are exactly that JPEG (ending in EOI).
  EXPECT_EQ(Run("identify -format '%m %w %h' '" + obf + "'"), "JPEG 48 32");
  const overlay::ObfReadResult r = overlay::DecodeObfDocument(file);
  ASSERT_EQ(r.status, ObfStatus::kOk);
  ASSERT_EQ(r.document.preview, preview);
  EXPECT_EQ(r.document.preview.substr(r.document.preview.size() - 2), "\xff\xd9");
  const std::string extracted = folder_ + "/extracted.jpg";
  ASSERT_TRUE(WriteBytes(extracted, r.document.preview));
  EXPECT_EQ(Run("identify -format '%m %w %h' '" + extracted + "'"), "JPEG 48 32");
}
#endif

}  // namespace
