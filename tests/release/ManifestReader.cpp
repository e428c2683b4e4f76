// Checks, as the platform reads it, the application manifest (resource type 24, id 1) of each
// program named on the command line: an activation context is made from that resource of the
// program's file (any architecture's), and QueryActCtxW reads its run level and its supported
// Windows. Each program must ask for administrator rights without UI access and name
// Windows Vista, 7, 8, 8.1 and 10/11. Prints what it read and an "ok:" or "FAILED:" line for each
// program; the exit code is 0 only when every program passed.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Vista, 7, 8, 8.1, 10 and 11: the manifest's order, which the platform keeps.
const char* const kSupportedOs = "{E2011457-1546-43C5-A5FE-008DEEE3D3F0} "
                                 "{35138B9A-5D96-4FBD-8E2D-A2440225F93A} "
                                 "{4A2F28E3-53B9-4441-BA9C-D69D4A4A6E38} "
                                 "{1F676C76-80E1-4239-95BB-83D0F6D0DA78} "
                                 "{8E0F7A12-BFB3-4FE8-B9A5-48FD50A15A9A}";

// A manifest's activation context, released by the destructor.
class ActivationContext {
public:
    explicit ActivationContext(const std::wstring& strProgram) {
        ACTCTXW context = {};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = strProgram.c_str();
        context.lpResourceName = MAKEINTRESOURCEW(1);
        m_hContext = CreateActCtxW(&context);
    }
    ~ActivationContext() {
        if (m_hContext != INVALID_HANDLE_VALUE)
            ReleaseActCtx(m_hContext);
    }
    ActivationContext(const ActivationContext&) = delete;
    ActivationContext& operator=(const ActivationContext&) = delete;

    bool IsValid() const { return m_hContext != INVALID_HANDLE_VALUE; }
    // The bytes QueryActCtxW gives for |ulClass|; empty when it gives none.
    std::string Query(ULONG ulClass) const {
        SIZE_T nSize = 0;
        QueryActCtxW(0, m_hContext, NULL, ulClass, NULL, 0, &nSize);
        std::string strBytes(nSize, '\0');
        if (nSize == 0 || !QueryActCtxW(0, m_hContext, NULL, ulClass, &strBytes[0], nSize, &nSize))
            return "";
        return strBytes;
    }

private:
    HANDLE m_hContext;
};

std::string RunLevel(const std::string& strBytes) {
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION info;
    if (strBytes.size() < sizeof info)
        return "(none)";
    std::memcpy(&info, strBytes.data(), sizeof info);
    const char* const names[] = {"unspecified", "asInvoker", "highestAvailable",
                                 "requireAdministrator"};
    std::string strLevel = info.RunLevel < 4 ? names[info.RunLevel] : std::to_string(info.RunLevel);
    return strLevel + ", UI access " + (info.UiAccess ? "true" : "false");
}

// The supported Windows' ids, space-separated. An element is 20 bytes where the platform knows
// Windows 7's layout and 32 where it knows Windows 10's (with MaxVersionTested): the size it
// reports tells which.
std::string SupportedOs(const std::string& strBytes) {
    DWORD dwCount = 0;
    if (strBytes.size() >= sizeof dwCount)
        std::memcpy(&dwCount, strBytes.data(), sizeof dwCount);
    size_t nOffset = offsetof(ACTIVATION_CONTEXT_COMPATIBILITY_INFORMATION, Elements), nStride = 20;
    if (dwCount != 0 && strBytes.size() == 8 + dwCount * 32)
        nOffset = 8, nStride = 32;
    std::string strIds;
    for (DWORD i = 0; i < dwCount && nOffset + (i + 1) * nStride <= strBytes.size(); i++) {
        COMPATIBILITY_CONTEXT_ELEMENT element;
        std::memcpy(&element, strBytes.data() + nOffset + i * nStride, sizeof element);
        if (element.Type != ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)
            continue;
        const GUID& id = element.Id;
        char szId[40];
        std::snprintf(szId, sizeof szId, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                      id.Data1, id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2],
                      id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
        strIds += (strIds.empty() ? "" : " ") + std::string(szId);
    }
    return strIds.empty() ? "(none)" : strIds;
}

// The file name of |strPath|, for the lines printed: the programs' names are ASCII.
std::string FileName(const std::wstring& strPath) {
    std::wstring strName = strPath.substr(strPath.find_last_of(L"/\\") + 1);
    return std::string(strName.begin(), strName.end());
}

bool CheckProgram(const wchar_t* pszProgram) {
    std::string strName = FileName(pszProgram);
    std::string strLevel = "(no activation context)", strOs = strLevel;
    ActivationContext context(pszProgram);
    if (context.IsValid()) {
        strLevel = RunLevel(context.Query(RunlevelInformationInActivationContext));
        strOs = SupportedOs(context.Query(CompatibilityInformationInActivationContext));
    } else {
        strLevel += " (error " + std::to_string(GetLastError()) + ")";
    }
    std::printf("%s run level: %s\n%s supported OS: %s\n", strName.c_str(), strLevel.c_str(),
                strName.c_str(), strOs.c_str());
    bool bPassed = strLevel == "requireAdministrator, UI access false" && strOs == kSupportedOs;
    std::printf("%s: %s asks for administrator rights on Windows Vista to 11\n",
                bPassed ? "ok" : "FAILED", strName.c_str());
    return bPassed;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: ManifestReader PROGRAM...\n");
        return 2;
    }
    _setmode(_fileno(stdout), _O_BINARY); // the lines are read on Linux
    bool bPassed = true;
    for (int i = 1; i < argc; i++)
        bPassed = CheckProgram(argv[i]) && bPassed;
    return bPassed ? 0 : 1;
}
