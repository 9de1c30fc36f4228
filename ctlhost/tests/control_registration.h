// The test control registered in this Wine prefix for a whole test
// program: each Wine test program of the library that hosts the test
// control includes this header once, which adds the environment.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <string>

#include "test_control.h"

namespace {

// Registers the test control in this prefix for the whole run and removes
// its keys and the library's log again; COM is initialised on the main
// thread meanwhile.
class TestControlRegistration : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    module_ = LoadLibraryA("orbtestctl.dll");
    ASSERT_NE(module_, nullptr);
    auto registerServer = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(module_, "DllRegisterServer"));
    ASSERT_NE(registerServer, nullptr);
    ASSERT_EQ(registerServer(), S_OK);
  }
  void TearDown() override {
    if (module_ != nullptr) {
      auto unregisterServer = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(module_, "DllUnregisterServer"));
      if (unregisterServer != nullptr) unregisterServer();
      FreeLibrary(module_);
    }
    // The library's log beside this program, made when it was loaded.
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string log = program;
    log = log.substr(0, log.rfind('.')) + ".LOG";
    EXPECT_TRUE(DeleteFileA(log.c_str())) << log;
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, ORB_TEST_CONTROL_PROGID, 0, KEY_READ, &key), ERROR_SUCCESS)
        << "the test control's ProgID is still registered";
    CoUninitialize();
  }

 private:
  HMODULE module_ = nullptr;
};

[[maybe_unused]] const ::testing::Environment* const g_registration =
    ::testing::AddGlobalTestEnvironment(new TestControlRegistration);

}  // namespace
