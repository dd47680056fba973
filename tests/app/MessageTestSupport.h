// Helpers of the message box, button and numeric filter tests: a dialog
// template built in memory, a driver that acts on a dialog from inside its
// own modal loop, message pumping, a memory canvas whose pixels can be
// read, and the screenshots saved for a person to look at; and the
// fixtures of the tests that run the program's view or the whole program
// in this process.
#pragma once

#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/Simbrel1App.h"
#include "framework/Framework.h"

// Acts on a modal dialog from its own message loop: once the dialog's
// window is shown, each step runs from a timer tick, so everything the
// step before posted has been handled by then. A dialog still open two
// seconds after the last step is ended with kStuckResult and fails the test.
class CDialogDriver {
public:
    static constexpr INT_PTR kStuckResult = -77;
    using Step = std::function<void(HWND hDialog)>;

    CDialogDriver() = default;
    ~CDialogDriver();
    CDialogDriver(const CDialogDriver&) = delete;
    CDialogDriver& operator=(const CDialogDriver&) = delete;

    void Drive(CDialog* pDialog, std::vector<Step> steps);
    // For the answerer's RunProgramMessage.
    std::function<void(CDialog*)> Run(std::vector<Step> steps);

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR nIDEvent, DWORD);
    void Tick();
    void Stop();

    CDialog* m_pDialog = nullptr;
    HWND m_hDialog = nullptr;
    std::vector<Step> m_steps;
    size_t m_nNext = 0;
    UINT_PTR m_nTimer = 0;
    DWORD m_dwLastStep = 0;
};

// Dispatches the queued messages of this thread, dialog keys included,
// until done() holds or the time-out passes; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD dwTimeoutMs = 2000);
void PumpPending();

// The text of a window and of a dialog's item.
std::wstring WindowText(HWND hWnd);
std::wstring ItemText(HWND hDialog, int nID);
// An item's rectangle in its dialog's client coordinates.
CRect ItemRect(HWND hDialog, int nID);
// Posts the click a user makes on a button.
void ClickItem(HWND hDialog, int nID);
// Posts the notification a button sends its dialog when pressed.
void SendClicked(HWND hDialog, int nID);
// Moves the focus to an edit as Tab would, empties it and types the text.
void TypeInto(HWND hDialog, int nID, const wchar_t* pszText);
// Posts a key press (down and up) to the window that has the focus (the
// active window when none has).
void PressKey(UINT nVirtKey);

// A 32-bit top-down memory bitmap selected into a memory DC.
class CCanvas {
public:
    CCanvas(int nWidth, int nHeight, COLORREF crFill);
    ~CCanvas();
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    CDC& DC() { return m_dc; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    COLORREF Pixel(int x, int y) const;
    // The bounding box of the pixels inside rcArea that are not crBack
    // (empty when there are none).
    CRect InkBox(COLORREF crBack, const CRect& rcArea) const;
    int CountPixels(COLORREF cr, const CRect& rcArea) const;
    // Copies a window's client area (bClient) or whole window into the canvas at 0, 0.
    void CopyFromWindow(HWND hWnd, bool bClient);

private:
    CDC m_dc;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    const DWORD* m_pBits = nullptr;
    int m_nWidth;
    int m_nHeight;
};

// Saves the whole window (frame and caption included) as a PNG named
// pszName in the folder given by the environment variable VUDADAR_SCREENS,
// as the screenshot tool does; nothing when it is not set. Returns the
// path written, or "".
std::wstring SaveScreenshot(HWND hWnd, const wchar_t* pszName);
// The folder of VUDADAR_SCREENS with a trailing backslash, or "".
std::wstring ScreensFolder();

// The program's view over a fresh per-user data folder, for one test.
class CSimbrel1View;
class CTestView {
public:
    explicit CTestView(const wchar_t* pszFolderName);
    ~CTestView();
    CTestView(const CTestView&) = delete;
    CTestView& operator=(const CTestView&) = delete;
    CSimbrel1View* operator->() const { return m_pView; }
    CSimbrel1View* Get() const { return m_pView; }

private:
    CSimbrel1View* m_pView = nullptr;
    CString m_strSavedRoot;
};

// The view over fresh folders, for the tests of the files it saves and
// opens: the program version fixed, the globals a test changes put back,
// and every scripted reply required to have been used.
class CTestGraph1;
class CTestSettingsDialog;
class ViewFileTest : public ::testing::Test {
protected:
    static constexpr const wchar_t* kVersion = L"5.1.1.0";

    // pszViewFolder names the view's data folder, pszFolder the folder the
    // files go to (also the program folder, which has no calculations marker).
    ViewFileTest(const wchar_t* pszViewFolder, const wchar_t* pszFolder);
    void SetUp() override;
    void TearDown() override;

    CSimbrel1View* V() const { return m_view.Get(); }
    CTestGraph1& Store() const;
    CTestSettingsDialog& Settings() const;
    // m_folder without its trailing backslash.
    CString Folder() const;

    CTestView m_view;
    CTestAnswerer m_answerer;
    CScopedAnswerer m_scope{m_answerer};
    std::wstring m_folder;
    CString m_strSavedVersion;
    int m_nSavedDirection = 1;
    int m_bSavedLiveReadings = 0;

private:
    const wchar_t* m_pszFolder;
};

// The whole program started in this process as its start-up does, the
// welcome panel answered.
class CMainFrame;
class ProgramTest : public ::testing::Test {
protected:
    // The application object made ready to start.
    void PrepareApplication();
    // The start-up proper: the main window opens.
    void OpenMainWindow();
    // Both, then the view is found and what the start-up queued is handled.
    void StartProgram();
    // Closes the main window as the user does, handles what that leaves
    // queued, and ends the application.
    void CloseProgram();

    // What a page's button does: post the page's id and the action to the view.
    void Post(UINT nPage, int nAction);
    // Runs the waiting messages as the program's loop does, except that the
    // page requests to the view are collected instead of acted on.
    std::vector<std::pair<WPARAM, LPARAM>> PumpCollectingRequests();

    CSimbrel1App m_app;
    CTestAnswerer m_answerer;
    CScopedAnswerer m_scope{m_answerer};
    CMainFrame* m_pFrame = nullptr;
    CSimbrel1View* m_pView = nullptr;
};
