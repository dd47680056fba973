// The view's preferences: the program folder, the registry values and the
// two folder files of the per-user data folder.
#include "app/Simbrel1View.h"

void CSimbrel1View::GetProgramFolder()
{
    // From the module's own path: the raw command line quotes the program
    // path only when it holds a blank, so it cannot be relied on.
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            m_strProgramFolder.Empty();
            return;
        }
        if (n < path.size())
            break;
        path.resize(path.size() * 2);
    }
    CString strPath(path.data());
    m_strProgramFolder = strPath.Left(strPath.ReverseFind(L'\\') + 1);
}

void CSimbrel1View::LoadPreferences() {}

void CSimbrel1View::SavePreferences()
{
    RestoreDevicePreferences();
}
