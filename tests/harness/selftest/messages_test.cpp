// PeerWindow, SendCopyData, CountWindows and orbdriver's peer and send
// commands: every byte of a WM_COPYDATA arrives as sent, with the sender's
// exact wParam, in this thread and across processes.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"
#include "selftest_util.h"

namespace {

using namespace std::string_literals;
using selftest::DriverCommand;
using selftest::kChildMs;
using selftest::ReadFileBytes;
using selftest::RunDriver;
using selftest::ScratchPath;

constexpr uint32_t kStopCode = 10;
constexpr LRESULT kPeerResult = 1234;

struct CopyDataCase {
  const char* name;
  uint32_t code;
  std::string bytes;
  uint32_t wParam;
};

std::string AllHighBytes() {
  std::string bytes;
  for (int value = 0x80; value <= 0xff; ++value) bytes.push_back(static_cast<char>(value));
  return bytes;
}

std::string PatternBytes(size_t count) {
  std::string bytes(count, '\0');
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>((i * 7) & 0xff);
  return bytes;
}

// The line orbdriver's peer writes for one message.
std::string LogLine(uint32_t code, uint32_t wParam, const std::string& bytes) {
  std::string line = std::to_string(code) + " " + std::to_string(wParam) + " " + std::to_string(bytes.size());
  if (!bytes.empty()) line += " " + harness::ToHex(bytes);
  return line;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t begin = 0;
  for (size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
    lines.push_back(text.substr(begin, end - begin));
  }
  if (begin < text.size()) lines.push_back(text.substr(begin) + "<no newline>");
  return lines;
}

TEST(PeerWindow, RecordsCopyDataSentFromThisThread) {
  harness::PeerWindow peer("HarnessLocalPeer", 77);
  ASSERT_NE(nullptr, peer.hwnd());
  int handlerCalls = 0;
  size_t recordedBeforeHandler = 0;
  peer.setCopyDataHandler([&](const harness::CopyDataRecord& record) {
    ++handlerCalls;
    recordedBeforeHandler = peer.received().size();
    EXPECT_EQ("a\0b"s, record.bytes);
  });

  LRESULT result = -1;
  ASSERT_TRUE(harness::SendCopyData(peer.hwnd(), 5, "a\0b"s, 42, 1000, &result));
  EXPECT_EQ(77, result);
  EXPECT_EQ(1, handlerCalls);
  EXPECT_EQ(1u, recordedBeforeHandler);
  ASSERT_EQ(1u, peer.received().size());
  const harness::CopyDataRecord& record = peer.received()[0];
  EXPECT_EQ(5u, record.code);
  EXPECT_EQ(42u, record.wParam);
  EXPECT_EQ(3u, record.cbData);
  EXPECT_EQ("a\0b"s, record.bytes);
  const auto& messages = peer.messages();
  EXPECT_NE(messages.end(), std::find(messages.begin(), messages.end(), static_cast<UINT>(WM_COPYDATA)));

  peer.clear();
  EXPECT_TRUE(peer.received().empty());
  EXPECT_TRUE(peer.messages().empty());
}

TEST(PeerWindow, IsDestroyedByWmClose) {
  harness::PeerWindow peer("HarnessClosedPeer");
  ASSERT_NE(nullptr, peer.hwnd());
  ASSERT_TRUE(PostMessageA(peer.hwnd(), WM_CLOSE, 0, 0));
  EXPECT_TRUE(harness::PumpUntil([&] { return peer.hwnd() == nullptr; }, 2000));
  EXPECT_EQ(0, harness::CountWindows("HarnessClosedPeer"));
  const auto& messages = peer.messages();
  EXPECT_NE(messages.end(), std::find(messages.begin(), messages.end(), static_cast<UINT>(WM_CLOSE)));
}

TEST(SendCopyData, FailsForNoWindow) {
  LRESULT result = 99;
  EXPECT_FALSE(harness::SendCopyData(reinterpret_cast<HWND>(0x7ff0), 1, "x", 1, 500, &result));
  EXPECT_EQ(0, result);
}

// A peer on its own thread that takes `answerMs` to answer each message.
// It copies the data before waiting, while the sender still waits too.
class SlowReceiver {
 public:
  SlowReceiver(const char* className, DWORD answerMs) {
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this, className, answerMs] {
      harness::PeerWindow peer(className, 5);
      peer.setCopyDataHandler([answerMs](const harness::CopyDataRecord&) { Sleep(answerMs); });
      hwnd_ = peer.hwnd();
      SetEvent(ready_);
      harness::PumpUntil([this] { return finished_.load(); }, 30000);
    });
    if (!ready_ || WaitForSingleObject(ready_, 5000) != WAIT_OBJECT_0) hwnd_ = nullptr;
  }
  ~SlowReceiver() {
    finished_ = true;
    thread_.join();
    if (ready_) CloseHandle(ready_);
  }
  HWND hwnd() const { return hwnd_; }

 private:
  HANDLE ready_ = nullptr;
  HWND hwnd_ = nullptr;
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

TEST(SendCopyData, GivesUpAfterTheTimeOut) {
  SlowReceiver receiver("HarnessSlowPeer", 1500);
  ASSERT_NE(nullptr, receiver.hwnd());
  LRESULT result = 99;
  const DWORD start = GetTickCount();
  EXPECT_FALSE(harness::SendCopyData(receiver.hwnd(), 1, "late", 4, 300, &result));
  const DWORD waited = GetTickCount() - start;
  EXPECT_EQ(0, result);
  EXPECT_GE(waited, 250u);
  EXPECT_LT(waited, 1400u) << "the call must not wait for the answer";
}

TEST(PeerProcess, SendCommandReportsTimeOut) {
  // orbdriver waits 5 s for an answer; this one takes 6.5 s.
  SlowReceiver receiver("HarnessHungPeer", 6500);
  ASSERT_NE(nullptr, receiver.hwnd());
  std::string output;
  EXPECT_EQ(2, RunDriver("send HarnessHungPeer 1 00", &output)) << output;
}

TEST(CountWindows, CountsEachWindowOfTheClass) {
  EXPECT_EQ(0, harness::CountWindows("HarnessCounted"));
  harness::PeerWindow first("HarnessCounted");
  {
    harness::PeerWindow second("HarnessCounted");
    ASSERT_NE(nullptr, first.hwnd());
    ASSERT_NE(nullptr, second.hwnd());
    EXPECT_EQ(2, harness::CountWindows("HarnessCounted"));
    EXPECT_EQ(2, harness::CountWindows("harnesscounted")) << "class names ignore case";
  }
  EXPECT_EQ(1, harness::CountWindows("HarnessCounted"));
  EXPECT_EQ(0, harness::CountWindows("HarnessCounte"));
}

TEST(PeerProcess, ReceivesExactBytesAndWParam) {
  const CopyDataCase kCases[] = {
      {"zero bytes inside", 1, "a\0b\0"s, 4},
      {"bytes 0x80 to 0xff", 2, AllHighBytes(), 128},
      {"wParam unlike the size", 3, "xyz", 999},
      {"no bytes", 4, "", 0},
      {"only zero bytes", 5, "\0\0\0"s, 3},
      {"5000 bytes", 6, PatternBytes(5000), 5000},
      {"full 32-bit code and wParam", 0xfffffffeu, "\x01", 0xffffffffu},
      {"stop code ends the peer", kStopCode, "", 0},
  };
  const std::string log = ScratchPath("exact-peer.log");
  harness::Process peer;
  ASSERT_TRUE(peer.start(DriverCommand() + " peer HarnessExactPeer \"" + log + "\" 30 " +
                         std::to_string(kPeerResult)));
  HWND window = harness::WaitForWindow("HarnessExactPeer", kChildMs);
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(1, harness::CountWindows("HarnessExactPeer"));

  for (const CopyDataCase& c : kCases) {
    SCOPED_TRACE(c.name);
    LRESULT result = -1;
    EXPECT_TRUE(harness::SendCopyData(window, c.code, c.bytes, c.wParam, 5000, &result));
    EXPECT_EQ(kPeerResult, result) << "the answer is the peer's";
  }
  EXPECT_EQ(0, peer.waitExit(kChildMs)) << "the stop code ends the peer with exit code 0";
  EXPECT_TRUE(harness::PumpUntil([] { return harness::CountWindows("HarnessExactPeer") == 0; }, 5000));

  const std::vector<std::string> lines = SplitLines(ReadFileBytes(log));
  ASSERT_EQ(std::size(kCases), lines.size()) << ReadFileBytes(log);
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(kCases[i].name);
    EXPECT_EQ(LogLine(kCases[i].code, kCases[i].wParam, kCases[i].bytes), lines[i]);
  }
}

TEST(PeerProcess, SendCommandDeliversAndPrintsTheAnswer) {
  const std::string log = ScratchPath("send-peer.log");
  harness::Process peer;
  ASSERT_TRUE(peer.start(DriverCommand() + " peer HarnessSendPeer \"" + log + "\" 30 " +
                         std::to_string(kPeerResult)));
  ASSERT_NE(nullptr, harness::WaitForWindow("HarnessSendPeer", kChildMs));

  struct SendCase {
    const char* name;
    std::string arguments;
    long exitCode;
    std::string output;
  };
  const SendCase kCases[] = {
      {"explicit wParam", "send HarnessSendPeer 7 00ff80 99", 0, "1234\n"},
      {"wParam defaults to the size", "send HarnessSendPeer 8 0A0b", 0, "1234\n"},
      {"no bytes", "send HarnessSendPeer 0x9 -", 0, "1234\n"},
      {"bad hex", "send HarnessSendPeer 8 0g", 3, ""},
      {"stop", "send HarnessSendPeer 10 -", 0, "1234\n"},
  };
  for (const SendCase& c : kCases) {
    SCOPED_TRACE(c.name);
    std::string output;
    EXPECT_EQ(c.exitCode, RunDriver(c.arguments, &output));
    if (c.exitCode == 0) {
      EXPECT_EQ(c.output, output);
    }
  }
  EXPECT_EQ(0, peer.waitExit(kChildMs));
  EXPECT_EQ("7 99 3 00ff80\n8 2 2 0a0b\n9 0 0\n10 0 0\n", ReadFileBytes(log));

  std::string output;
  EXPECT_EQ(1, RunDriver("send HarnessSendPeer 1 00", &output)) << "no window once the peer ended: " << output;
}

}  // namespace
