// The application framework: CWinApp, CWnd, CFrameWnd with its command bar, CDialog with data
// exchange, and the message maps that route messages and commands to member handlers.
#pragma once

#include "platform/afx/afx_string.h"
#include "platform/afx/message_map.h"
#include "platform/user/accelerators.h"
#include "platform/user/command_bar.h"
#include "platform/user/dialog.h"
#include "platform/user/menu.h"
#include "platform/user/message_box.h"
#include "platform/user/message_queue.h"
#include "platform/user/paint.h"
#include "platform/user/strings.h"
#include "platform/user/timers.h"
#include "platform/user/window_api.h"

constexpr UINT ID_APP_EXIT = 0xE141;
// The desktop's full-screen switch, handled by every frame.
constexpr UINT ID_VIEW_FULLSCREEN = 0xE93A;
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr DWORD FWS_ADDTOTITLE = 0x8000;
constexpr DWORD AFX_DEFAULT_TOOLBAR_STYLE = 0x50002800;  // visible child bar with a border

class CCmdTarget {
  public:
    virtual ~CCmdTarget() = default;
    static const MessageMap* ThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;
    // Runs the handler of command id with notification code, if this target's map has one.
    virtual BOOL OnCmdMsg(UINT id, UINT code);
};

class CDataExchange;

class CWnd : public CCmdTarget {
  public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    static CWnd* FromHandle(HWND hwnd);  // the framework object of a window, or null

    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE) {
        ::InvalidateRect(m_hWnd, rect, erase);
    }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
        return ::SetTimer(m_hWnd, id, elapseMs, proc);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK) {
        return ::MessageBoxW(m_hWnd, text, caption, type);
    }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    virtual BOOL DestroyWindow();

    // Data exchange between the members and the controls: save is TRUE to read the controls.
    BOOL UpdateData(BOOL save = TRUE);
    virtual void DoDataExchange(CDataExchange* dx);

    // The message being handled, to the window's default handling.
    LRESULT Default();

    // A message on its way from the loop to its window, seen first by the main window: TRUE
    // when it was used up here (an accelerator) and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG*) { return FALSE; }

    static const MessageMap* ThisMessageMap();
    const MessageMap* GetMessageMap() const override;

  protected:
    // Routes one message through the maps; what no entry handles goes to Default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy() {}
    void Attach(HWND hwnd);
    HWND Detach();
    // Makes a window of the framework's class for this object.
    BOOL CreateFrameWindow(LPCWSTR title, DWORD style, HWND owner);

    friend LRESULT AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend INT_PTR AfxDlgProc(HWND, UINT, WPARAM, LPARAM);

  private:
    struct Current {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    Current current_{};
};

class CDataExchange {
  public:
    CDataExchange(CWnd* dialog, BOOL save) : m_bSaveAndValidate(save), m_pDlgWnd(dialog) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// A radio group as the index of its checked button (-1 when none is), counting only the group's
// radio buttons from firstId to the next control that starts a group.
void DDX_Radio(CDataExchange* dx, int firstId, int& value);
// An edit control (or any control's text) as a string.
void DDX_Text(CDataExchange* dx, int id, CString& value);

class CCeCommandBar : public CWnd {
  public:
    ~CCeCommandBar() override;
    BOOL Create(CWnd* parent, DWORD style = AFX_DEFAULT_TOOLBAR_STYLE, UINT id = AFX_IDW_TOOLBAR);
    HMENU InsertMenuBar(UINT menuId, int button = 0xFFFF);
    BOOL LoadToolBar(UINT toolBarId);
    HMENU GetMenu() const { return ::CommandBar_GetMenu(m_hWnd, 0); }
};

class CFrameWnd : public CWnd {
  public:
    CFrameWnd() = default;
    // Makes the frame: its title is the string resource of that id, its keys the accelerator
    // table of that id when there is one.
    BOOL LoadFrame(UINT resourceId, DWORD style = FWS_ADDTOTITLE, CWnd* parent = nullptr,
                   void* context = nullptr);
    // Lets the frame know its command bar; with 0 the frame finishes its layout around the bar.
    void RecalcLayout(BOOL notify = TRUE);
    HMENU GetMenu() const;

    BOOL OnCmdMsg(UINT id, UINT code) override;
    // The frame's keys: a key message for the frame or one of its children that matches its
    // accelerator table becomes the entry's command.
    BOOL PreTranslateMessage(MSG* msg) override;
    // The default close: destroys the frame; the main window's end ends the message loop.
    void OnClose();
    // ID_VIEW_FULLSCREEN: the backend's window to the whole display and back.
    void OnViewFullScreen();

    HACCEL m_hAccelTable = nullptr;

    DECLARE_MESSAGE_MAP()

  protected:
    void OnNcDestroy();
    void PostNcDestroy() override { delete this; }  // frames live on the heap until destroyed
};

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr)
        : m_nIDTemplate(templateId), m_pParentWnd(parent) {}
    // Runs the dialog over its owner (the main window when it has no parent): IDOK, IDCANCEL,
    // or -1 when the template is unknown.
    virtual INT_PTR DoModal();
    // The default initialisation: the members to the controls.
    virtual BOOL OnInitDialog();
    // The default confirmation: the controls to the members, then the dialog ends with IDOK.
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);

    BOOL OnCmdMsg(UINT id, UINT code) override;
    static const MessageMap* ThisMessageMap();
    const MessageMap* GetMessageMap() const override;

  protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};

class CWinApp : public CCmdTarget {
  public:
    explicit CWinApp(LPCWSTR appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    // Each message of the application's loop, before it is dispatched: the main window's turn.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Runs the message loop until it ends, then ExitInstance; returns its result.
    virtual int Run();
    virtual int ExitInstance() { return exitCode_; }
    // The application-exit command: the main window gets the close request its close button sends.
    void OnAppExit();

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCWSTR m_pszAppName;

    DECLARE_MESSAGE_MAP()

  private:
    int exitCode_ = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
// The framework's main routine: InitInstance, then the message loop and ExitInstance.
int AfxWinMain(int showCommand = SW_SHOWNORMAL);
