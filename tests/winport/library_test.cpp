// LoadLibraryA / GetProcAddress / FreeLibrary against a small module built with the tests.
#include "temp_dir.h"
#include "winport.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using IntFunction = int (*)();

const std::string probePath = WINPORT_PROBE_PATH;

std::string probeFolder() {
    return probePath.substr(0, probePath.rfind('/'));
}

int callInt(HMODULE module, const char* name) {
    FARPROC proc = GetProcAddress(module, name);
    // Through void(*)(): the generic function pointer type that may be cast to any other.
    return proc == nullptr ? -1
                           : reinterpret_cast<IntFunction>(reinterpret_cast<void (*)()>(proc))();
}

TEST(LoadLibrary, OpensAModuleByItsPathAndFindsItsFunctions) {
    HMODULE module = LoadLibraryA(probePath.c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(callInt(module, "ProbeAnswer"), 42);

    SetLastError(0);
    EXPECT_EQ(GetProcAddress(module, "NoSuchFunction"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(module, nullptr), nullptr);

    EXPECT_TRUE(FreeLibrary(module));
}

TEST(LoadLibrary, FindsAWindowsStyleNameAsASharedObject) {
    // "<dir>/WinportProbe.DLL" is the file "<dir>/libWinportProbe.so"; the suffix in any case.
    for (const char* suffix : {".DLL", ".dll", ".Dll"}) {
        const std::string name = probeFolder() + "/WinportProbe" + suffix;
        HMODULE module = LoadLibraryA(name.c_str());
        ASSERT_NE(module, nullptr) << name;
        EXPECT_EQ(callInt(module, "ProbeAnswer"), 42);
        EXPECT_TRUE(FreeLibrary(module));
    }

    // Without the "lib" prefix: "<dir>/Plain.DLL" is "<dir>/Plain.so".
    TempDir dir;
    const std::string bytes = readBytes(probePath);
    ASSERT_FALSE(bytes.empty());
    ASSERT_TRUE(writeBytes(dir.file("Plain.so"), bytes.data(), bytes.size()));
    HMODULE plain = LoadLibraryA(dir.file("Plain.DLL").c_str());
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(callInt(plain, "ProbeAnswer"), 42);
    EXPECT_TRUE(FreeLibrary(plain));
}

TEST(LoadLibrary, ReportsModulesThatDoNotExist) {
    const std::string folder = probeFolder();
    for (const std::string& name :
         {folder + "/NoSuchModule.DLL", folder + "/NoSuchModule.so", folder + "/.DLL",
          folder + "/WinportProbe.DLLX", folder + "/WinportProbe"}) {
        SetLastError(0);
        EXPECT_EQ(LoadLibraryA(name.c_str()), nullptr) << name;
        EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND) << name;
    }
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_EQ(LoadLibraryA(""), nullptr);
}

TEST(LoadLibrary, RefusesHandlesItDidNotHandOut) {
    int local = 0;
    const HMODULE invented[] = {nullptr, reinterpret_cast<HMODULE>(0x1234),
                                reinterpret_cast<HMODULE>(&local)};
    for (HMODULE module : invented) {
        SetLastError(0);
        EXPECT_FALSE(FreeLibrary(module));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        SetLastError(0);
        EXPECT_EQ(GetProcAddress(module, "ProbeAnswer"), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    }
}

TEST(LoadLibrary, CountsLoadsLikeDlopen) {
    HMODULE first = LoadLibraryA(probePath.c_str());
    HMODULE second = LoadLibraryA((probeFolder() + "/WinportProbe.DLL").c_str());
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first, second);
    EXPECT_EQ(callInt(first, "ProbeCount"), 1);

    // One load is left: the module stays, with its state.
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(callInt(first, "ProbeCount"), 2);

    // The last free unloads it; the handle is then unknown, and freeing it again is refused.
    EXPECT_TRUE(FreeLibrary(first));
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(first, "ProbeCount"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    SetLastError(0);
    EXPECT_FALSE(FreeLibrary(first));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    // Really unloaded: a fresh load starts the module's state again.
    HMODULE again = LoadLibraryA(probePath.c_str());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(callInt(again, "ProbeCount"), 1);
    EXPECT_TRUE(FreeLibrary(again));
}

} // namespace
