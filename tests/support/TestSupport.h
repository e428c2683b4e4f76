// What the Windows tests share: paths between Linux and Wine, starting programs, and finding,
// reading and dismissing the boxes that they show.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

// The Windows path under which Wine shows a Linux path ("/a/b" -> "Z:\a\b").
std::string WindowsPath(const std::string& strUnixPath);

// The program that a test runs: the Linux path that the environment variable |pszVariable| gives,
// for copies made after the build (tests/release/check-signing signs some), or else |pszBuilt|.
std::string ProgramPath(const char* pszVariable, const char* pszBuilt);

// The whole file, or "" when it cannot be read.
std::string ReadText(const std::string& strPath);

// |str| in UTF-8, for messages and comparisons that print readably.
std::string Utf8(const std::wstring& str);

// A program started by a test. The destructor ends it if it still runs and closes its handles.
class ChildProcess {
public:
    // Starts |strProgram| with |strArguments| appended to its quoted name, in |strDirectory|
    // (empty: the test's own), with |environment| added to the test's environment. A path of
    // MAX_PATH characters or more, which CreateProcess refuses, or any with |bNativeCall|, is
    // started by the native call; unlike Wine's CreateProcess, it keeps a short (8.3) name short.
    ChildProcess(const std::string& strProgram, const std::string& strArguments = "",
                 const std::vector<std::pair<std::string, std::string>>& environment = {},
                 const std::string& strDirectory = "", bool bNativeCall = false);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool Started() const { return m_pi.hProcess != NULL; }
    DWORD Id() const { return m_pi.dwProcessId; }
    // Waits up to |dwMilliseconds| for the program to end; true with its exit code when it did.
    bool Wait(DWORD dwMilliseconds, DWORD* pdwExitCode);

private:
    PROCESS_INFORMATION m_pi = {};
};

// One run of a program as the user sees it.
struct ProgramRun {
    bool bEnded = false;
    DWORD dwExit = 0xdeadbeef;
    size_t nWindows = 0; // the most visible windows of the program seen at once
};

// Waits up to |dwMilliseconds| for |process| to end, watching the windows it shows meanwhile.
ProgramRun WatchUntilEnd(ChildProcess& process, DWORD dwMilliseconds);

// A box as the user sees it: its caption, and the texts of its controls in order (for a message
// box the icon's empty Static, the body's Static, then its buttons).
struct Box {
    HWND hWnd = NULL;
    std::string strCaption;
    std::vector<std::string> texts;
    std::string strBody;   // the text of the first Static control that has one
    bool bHasIcon = false; // a Static control showing an icon
    std::vector<std::string> buttons;
};

// Waits up to |dwMilliseconds| for a visible top-level dialog window (class "#32770") of
// process |dwProcessId| and reads it. hWnd stays NULL when none appeared.
Box WaitForBox(DWORD dwProcessId, DWORD dwMilliseconds);

// Presses the button |nId| of a box (IDOK, IDABORT, ...).
void PressButton(const Box& box, int nId);

// The visible top-level windows that belong to process |dwProcessId| now.
std::vector<HWND> VisibleWindowsOf(DWORD dwProcessId);

// Routes the test executable's calls of |lpszFunction| from |lpszDll| to |pReplacement| while it
// lives. Code under test that is linked into the executable calls through the same table.
class ImportPatch {
public:
    ImportPatch(LPCSTR lpszDll, LPCSTR lpszFunction, void* pReplacement);
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    ~ImportPatch();

    bool Patched() const { return m_ppSlot != NULL; }
    void* Original() const { return m_pOriginal; }

private:
    void Write(void* pFunction);

    void** m_ppSlot = NULL;
    void* m_pOriginal = NULL;
};

// Watches the dialogs that the thread which makes it runs modally, for other threads: each is
// reported once shown and once its dialog manager has finished showing it. The manager shows a
// dialog again (restoring it, should it be minimised by then) the first time its queue goes empty
// or a timer message passes; so the watch reports a dialog after two ticks of a timer of its own
// have passed through the dialog's message loop, the second certainly after that step. One watch
// at a time.
class DialogWatch {
public:
    DialogWatch();
    DialogWatch(const DialogWatch&) = delete;
    DialogWatch& operator=(const DialogWatch&) = delete;
    ~DialogWatch();

    // Waits for a top-level dialog captioned |pszCaption| that the watched thread has shown and
    // finished showing, and that still exists; NULL when End came first.
    HWND WaitForDialog(LPCWSTR pszCaption);
    // Waits until the dialog |hDlg| is being destroyed (true), or End (false).
    bool WaitUntilGone(HWND hDlg);
    // Runs |work| on the watched thread between two of its messages, from any other thread.
    void RunOnDialogThread(HWND hDlg, const std::function<void()>& work);
    // Ends every wait: the watched thread runs no more dialogs. Safe to call from any thread.
    void End();

private:
    struct Shown {
        HWND hWnd;
        std::wstring strCaption;
        int nTicks;
    };
    static LRESULT CALLBACK AfterMessage(int nCode, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);
    // Waits, after each change, until |done| holds (under the lock) or the watch ended.
    bool WaitFor(const std::function<bool()>& done);
    void Changed();

    static DialogWatch* s_pWatch;
    DWORD m_dwThreadId;
    HHOOK m_hHook = NULL;
    UINT_PTR m_nTimer = 0;
    HANDLE m_hChanged;
    CRITICAL_SECTION m_section;
    std::vector<Shown> m_shown;
    bool m_bEnded = false;
};

// A thread of the platform's own running |work|, joined by the destructor. The programs' runtime
// has no std::thread: it starts on Windows releases older than the threads of the C++ library.
class Thread {
public:
    explicit Thread(std::function<void()> work);
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    ~Thread() { Join(); }

    // Waits until |work| has returned.
    void Join();
    // Whether |work| has not returned yet.
    bool Running() const {
        return m_hThread != NULL && WaitForSingleObject(m_hThread, 0) == WAIT_TIMEOUT;
    }

private:
    static DWORD WINAPI Run(LPVOID pThis);

    std::function<void()> m_work;
    HANDLE m_hThread = NULL;
};

// A critical section, and a scope that holds it.
class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&m_section); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    ~CriticalSection() { DeleteCriticalSection(&m_section); }

    class Lock {
    public:
        explicit Lock(CriticalSection& section) : m_section(section) {
            EnterCriticalSection(&m_section.m_section);
        }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
        ~Lock() { LeaveCriticalSection(&m_section.m_section); }

    private:
        CriticalSection& m_section;
    };

private:
    CRITICAL_SECTION m_section;
};

} // namespace test_support
