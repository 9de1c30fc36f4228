// ASPI for Win32 through WNASPI32.DLL (or the library the client names):
// loading it, the host adapter scan, and one request with a bounded wait.
#include <windows.h>

#include <cstring>

#include "scsi_device.h"

namespace discburn {

void ScsiDevice::UnloadAspi() {
  sendAspi_ = nullptr;
  if (aspiModule_) FreeLibrary(aspiModule_);
  aspiModule_ = nullptr;
}

uint8_t ScsiDevice::SendAspi(void* block, HANDLE event) {
  auto* header = static_cast<uint8_t*>(block);
  DWORD result = sendAspi_(block);
  if (result == kSrbPending) {
    // The event may hold the signal of an earlier request that completed
    // at once, or be taken by another thread's wait: the request's status
    // byte decides, looked at after each short wait.
    volatile uint8_t* status = header + 1;
    DWORD waited = 0;
    while (*status == kSrbPending && waited < kCommandTimeoutMs) {
      WaitForSingleObject(event, 10);
      waited += 10;
    }
    if (*status == kSrbPending) {
      // The layer never finished: ask it to drop the request, give it a
      // moment, and report the command failed.
      SRB_Abort abort{};
      abort.SRB_Cmd = SC_ABORT_SRB;
      abort.SRB_HaId = header[2];
      abort.SRB_ToAbort = block;
      sendAspi_(&abort);
      WaitForSingleObject(event, 5000);
      if (header[1] == kSrbPending) header[1] = kSrbError;
    }
  }
  return static_cast<uint8_t>(result);
}

int ScsiDevice::ScanAspi(const char* library) {
  UnloadAspi();
  aspiModule_ = LoadLibraryA(library ? library : "WNASPI32.DLL");
  if (!aspiModule_) return 0;
  auto support = reinterpret_cast<DWORD(__cdecl*)()>(GetProcAddress(aspiModule_, "GetASPI32SupportInfo"));
  sendAspi_ = reinterpret_cast<DWORD(__cdecl*)(void*)>(GetProcAddress(aspiModule_, "SendASPI32Command"));
  if (!support || !sendAspi_) {
    UnloadAspi();
    return 0;
  }
  DWORD info = support();
  if (info == 0 || HIBYTE(LOWORD(info)) == SS_NO_ADAPTERS) {
    UnloadAspi();
    return 0;
  }
  initialised_ = true;

  HANDLE event = makeScanEvent_();
  if (!event) {
    // Nothing half-started stays behind.
    initialised_ = false;
    UnloadAspi();
    return 0;
  }
  HostAdapterInquiry inquiry{};
  inquiry.SRB_Cmd = kSrbHostAdapterInquiry;
  ResetEvent(event);
  SendAspi(&inquiry, event);
  uint8_t adapters = inquiry.HA_Count == 0 ? 7 : inquiry.HA_Count;

  // The letters the pass-through interface knows, by SCSI address.
  struct LetterAddress {
    char letter;
    uint8_t adapter, target, lun;
  };
  std::vector<LetterAddress> letters;
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    LetterAddress known{letter, 0, 0, 0};
    if (AddressOfLetter(letter, &known.adapter, &known.target, &known.lun)) letters.push_back(known);
  }

  for (uint8_t adapter = 0; adapter < adapters && table_.size() < kDriveTableSize; ++adapter) {
    for (uint8_t target = 0; target < 8 && table_.size() < kDriveTableSize; ++target) {
      for (uint8_t lun = 0; lun < 7 && table_.size() < kDriveTableSize; ++lun) {
        uint8_t answer[64] = {};
        ScsiRequest request =
            MakeInquiryRequest(answer, sizeof answer);
        request.SRB_HaId = adapter;
        request.SRB_Target = target;
        request.SRB_Lun = lun;
        request.SRB_PostProc = event;
        ResetEvent(event);
        SendAspi(&request, event);
        if (request.SRB_Status != kSrbCompleted) continue;
        auto identity = IdentityFromInquiry(answer, sizeof answer);
        if (!identity) continue;
        DriveEntry entry;
        entry.adapter = adapter;
        entry.target = target;
        entry.lun = lun;
        entry.identity = identity;
        entry.letter = '?';
        for (const auto& known : letters) {
          if (known.adapter == adapter && known.target == target && known.lun == lun) entry.letter = known.letter;
        }
        GetDiskInfo disk{};
        disk.SRB_Cmd = kSrbGetDiskInfo;
        disk.SRB_HaId = adapter;
        disk.SRB_Target = target;
        disk.SRB_Lun = lun;
        ResetEvent(event);
        SendAspi(&disk, event);
        if (disk.SRB_Status == kSrbCompleted && disk.SRB_Int13HDriveInfo < 26) entry.letter = static_cast<char>('A' + disk.SRB_Int13HDriveInfo);
        entry.text = FormatDriveText(entry);
        table_.push_back(entry);
      }
    }
  }
  CloseHandle(event);
  return 1;
}

}  // namespace discburn
