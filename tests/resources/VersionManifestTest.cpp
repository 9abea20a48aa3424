// The version record and the manifest of the built program, as stored and as the system reads them.

#include "tests/resources/ProgramResources.h"

#include <shlwapi.h>

#include <cwchar>
#include <iterator>
#include <utility>

namespace {

using VersionRecord = ProgramTest;
using Manifest = ProgramTest;

// A text value as stored: its length counts the terminating zero.
std::wstring StoredText(const wchar_t* text)
{
    return std::wstring(text, wcslen(text) + 1);
}

std::wstring TextValue(const VersionNode& node)
{
    std::wstring text;
    for (size_t i = 0; i + 1 < node.value.size(); i += 2)
        text.push_back(static_cast<wchar_t>(static_cast<BYTE>(node.value[i]) | static_cast<BYTE>(node.value[i + 1]) << 8));
    return text;
}

const std::pair<const wchar_t*, const wchar_t*> kStrings[] = {
    {L"FileDescription", L"Morvane Module"},
    {L"FileVersion", L"1, 0, 0, 1"},
    {L"InternalName", L"Morvane"},
    {L"OriginalFilename", L"Morvane.exe"},
    {L"ProductName", L"Morvane Module"},
    {L"ProductVersion", L"1, 0, 0, 1"},
};

TEST_F(VersionRecord, OneStringBlockWithTheKeysInOrderAndOneTranslation)
{
    std::string bytes = ResourceBytes(RT_VERSION, 1, kEnglishUS);
    CByteReader reader(bytes);
    VersionNode root = ReadVersionNode(reader);
    EXPECT_FALSE(reader.Overrun());
    EXPECT_EQ(L"VS_VERSION_INFO", root.key);
    EXPECT_EQ(0, root.type);
    EXPECT_EQ(sizeof(VS_FIXEDFILEINFO), root.value.size());
    ASSERT_EQ(2u, root.children.size());

    const VersionNode& stringInfo = root.children[0];
    EXPECT_EQ(L"StringFileInfo", stringInfo.key);
    ASSERT_EQ(1u, stringInfo.children.size());
    const VersionNode& block = stringInfo.children[0];
    EXPECT_EQ(L"040904B0", block.key);
    ASSERT_EQ(std::size(kStrings), block.children.size());
    for (size_t i = 0; i < block.children.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "string " << i);
        EXPECT_EQ(kStrings[i].first, block.children[i].key);
        EXPECT_EQ(1, block.children[i].type);
        EXPECT_EQ(StoredText(kStrings[i].second), TextValue(block.children[i]));
    }

    const VersionNode& varInfo = root.children[1];
    EXPECT_EQ(L"VarFileInfo", varInfo.key);
    ASSERT_EQ(1u, varInfo.children.size());
    EXPECT_EQ(L"Translation", varInfo.children[0].key);
    EXPECT_EQ(0, varInfo.children[0].type);
    EXPECT_EQ(std::string("\x09\x04\xB0\x04", 4), varInfo.children[0].value); // 0x0409, 0x04B0
}

// The version record as the system's version functions read it from the file.
class VersionFromFile : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        DWORD ignored = 0;
        m_data.resize(GetFileVersionInfoSizeA(ProgramPath().c_str(), &ignored));
        ASSERT_FALSE(m_data.empty()) << GetLastError();
        ASSERT_TRUE(GetFileVersionInfoA(ProgramPath().c_str(), 0, static_cast<DWORD>(m_data.size()), &m_data[0]));
    }

    // The value under a path such as "\\VarFileInfo\\Translation", or null.
    const void* Value(const char* path, UINT* size)
    {
        void* value = nullptr;
        return VerQueryValueA(&m_data[0], path, &value, size) ? value : nullptr;
    }

    std::string m_data;
};

TEST_F(VersionFromFile, FixedFields)
{
    UINT size = 0;
    auto fixed = static_cast<const VS_FIXEDFILEINFO*>(Value("\\", &size));
    ASSERT_NE(nullptr, fixed);
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), size);
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(0x00010000u, fixed->dwStrucVersion);
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS); // 1.0
    EXPECT_EQ(0x00000001u, fixed->dwFileVersionLS); // .0.1
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00000001u, fixed->dwProductVersionLS);
    EXPECT_EQ(0x3Fu, fixed->dwFileFlagsMask);
    EXPECT_EQ(0u, fixed->dwFileFlags);
    EXPECT_EQ(static_cast<DWORD>(VOS__WINDOWS32), fixed->dwFileOS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
    EXPECT_EQ(0u, fixed->dwFileSubtype);
    EXPECT_EQ(0u, fixed->dwFileDateMS);
    EXPECT_EQ(0u, fixed->dwFileDateLS);
}

TEST_F(VersionFromFile, StringsFoundThroughTheTranslation)
{
    UINT size = 0;
    auto translation = static_cast<const WORD*>(Value("\\VarFileInfo\\Translation", &size));
    ASSERT_NE(nullptr, translation);
    ASSERT_EQ(4u, size);
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(0x04B0, translation[1]);

    const std::pair<const char*, const char*> strings[] = {
        {"FileDescription", "Morvane Module"}, {"FileVersion", "1, 0, 0, 1"},
        {"InternalName", "Morvane"},           {"OriginalFilename", "Morvane.exe"},
        {"ProductName", "Morvane Module"},     {"ProductVersion", "1, 0, 0, 1"},
    };
    for (const auto& [key, expected] : strings) {
        char path[128];
        wnsprintfA(path, sizeof(path), "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], key);
        auto value = static_cast<const char*>(Value(path, &size));
        ASSERT_NE(nullptr, value) << path;
        EXPECT_STREQ(expected, value) << path;
    }
}

const char kManifestText[] = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">
    <security>
      <requestedPrivileges>
        <requestedExecutionLevel level="requireAdministrator" uiAccess="false"/>
      </requestedPrivileges>
    </security>
  </trustInfo>
  <dependency>
    <dependentAssembly>
      <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="x86" publicKeyToken="6595b64144ccf1df" language="*"/>
    </dependentAssembly>
  </dependency>
</assembly>
)";

TEST_F(Manifest, RequiresAdministratorAndCommonControls6)
{
    EXPECT_EQ(kManifestText, ResourceBytes(RT_MANIFEST, 1, kEnglishUS));
}

// An activation context made from the program's manifest, active while the object lives.
class CActiveManifest {
public:
    explicit CActiveManifest(const std::string& program)
    {
        ACTCTXA context = {};
        context.cbSize = sizeof(context);
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = program.c_str();
        context.lpResourceName = MAKEINTRESOURCEA(1);
        m_context = CreateActCtxA(&context);
        if (m_context != INVALID_HANDLE_VALUE && !ActivateActCtx(m_context, &m_cookie))
            m_cookie = 0;
    }
    ~CActiveManifest()
    {
        if (m_cookie)
            DeactivateActCtx(0, m_cookie);
        if (m_context != INVALID_HANDLE_VALUE)
            ReleaseActCtx(m_context);
    }
    CActiveManifest(const CActiveManifest&) = delete;
    CActiveManifest& operator=(const CActiveManifest&) = delete;

    bool IsActive() const { return m_cookie != 0; }

private:
    HANDLE m_context = INVALID_HANDLE_VALUE;
    ULONG_PTR m_cookie = 0;
};

// A library loaded for one check, released with its owner object.
class CLibrary {
public:
    explicit CLibrary(const char* name) : m_module(LoadLibraryA(name)) {}
    ~CLibrary()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    CLibrary(const CLibrary&) = delete;
    CLibrary& operator=(const CLibrary&) = delete;

    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

// Where a plain load of the common controls library finds it in the current context, in lower case.
std::string CommonControlsFile()
{
    CLibrary library("comctl32.dll");
    char path[MAX_PATH] = {};
    GetModuleFileNameA(library.Get(), path, MAX_PATH);
    CharLowerA(path);
    return path;
}

TEST_F(Manifest, SystemActivatesItAndBindsCommonControls6)
{
    // The version 6 library lives in its side-by-side assembly folder, named after the identity
    // the manifest asks for.
    const char assembly[] = "\\winsxs\\x86_microsoft.windows.common-controls_6595b64144ccf1df_6.0.";
    {
        CActiveManifest manifest(ProgramPath());
        ASSERT_TRUE(manifest.IsActive()) << GetLastError();
        EXPECT_NE(std::string::npos, CommonControlsFile().find(assembly)) << CommonControlsFile();
    }
    EXPECT_EQ(std::string::npos, CommonControlsFile().find(assembly)) << "without the program's manifest";
}

} // namespace
