#include "platform/afx/afx.h"

#include <unordered_map>
#include <vector>

#include "platform/user/internal/backend.h"

namespace {

std::unordered_map<HWND, CWnd*>& Objects() {
    static std::unordered_map<HWND, CWnd*> objects;
    return objects;
}

CWinApp* theApp = nullptr;
CWnd* creating = nullptr;  // the object whose window is being made: it gets WM_CREATE

constexpr LPCWSTR kFrameClass = L"AfxFrame";

}  // namespace

namespace afx {

const MessageMapEntry* FindEntry(const MessageMap* map, UINT message, UINT id, UINT code) {
    for (; map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry& e : map->entries) {
            if (e.message != message) continue;
            if (message == WM_COMMAND && (e.id != id || e.code != code)) continue;
            return &e;
        }
    }
    return nullptr;
}

}  // namespace afx

// --- CCmdTarget ---

const MessageMap* CCmdTarget::ThisMessageMap() {
    static const MessageMap map{nullptr, {}};
    return &map;
}

const MessageMap* CCmdTarget::GetMessageMap() const {
    return ThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT id, UINT code) {
    const MessageMapEntry* e = afx::FindEntry(GetMessageMap(), WM_COMMAND, id, code);
    if (!e) return FALSE;
    e->handler(this, MAKEWPARAM(id, code), 0);
    return TRUE;
}

// --- CWnd ---

LRESULT AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandle(hwnd);
    if (!wnd && creating) {
        wnd = creating;
        creating = nullptr;
        wnd->Attach(hwnd);
    }
    if (!wnd) return DefWindowProcW(hwnd, message, wParam, lParam);
    CWnd::Current saved = wnd->current_;
    wnd->current_ = {message, wParam, lParam};
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        wnd->Detach();
        wnd->PostNcDestroy();  // may delete wnd
        return result;
    }
    // A handler may have destroyed the window (a close sent from a command): the object may be
    // gone with it.
    if (CWnd::FromHandle(hwnd) != wnd) return result;
    wnd->current_ = saved;
    return result;
}

CWnd::~CWnd() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        HWND h = m_hWnd;
        Detach();
        ::DestroyWindow(h);
    } else {
        Detach();
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    auto it = Objects().find(hwnd);
    return it == Objects().end() ? nullptr : it->second;
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    if (hwnd) Objects()[hwnd] = this;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h) Objects().erase(h);
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

const MessageMap* CWnd::ThisMessageMap() {
    static const MessageMap map{&CCmdTarget::ThisMessageMap, {}};
    return &map;
}

const MessageMap* CWnd::GetMessageMap() const {
    return ThisMessageMap();
}

LRESULT CWnd::Default() {
    return ::DefWindowProcW(m_hWnd, current_.message, current_.wParam, current_.lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    // A menu's or an accelerator's command (no control sends it) is routed as a plain command.
    if (lParam == 0) return OnCmdMsg(LOWORD(wParam), 0);
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) return 0;
        return Default();
    }
    if (const MessageMapEntry* e = afx::FindEntry(GetMessageMap(), message, 0, 0))
        return e->handler(this, wParam, lParam);
    return Default();
}

BOOL CWnd::CreateFrameWindow(LPCWSTR title, DWORD style, HWND owner) {
    // A double tap reaches the frame as one; erasing fills it with white.
    RegisterClassOnce(kFrameClass, AfxWndProc, CS_DBLCLKS, true);
    creating = this;
    HWND h =
        ::CreateWindowExW(0, kFrameClass, title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, owner, nullptr, AfxGetInstanceHandle(), nullptr);
    creating = nullptr;
    return h != nullptr;
}

BOOL CWnd::UpdateData(BOOL save) {
    if (!m_hWnd) return FALSE;
    CDataExchange dx(this, save);
    DoDataExchange(&dx);
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

namespace {

bool IsRadioButton(HWND control) {
    wchar_t name[16];
    ::GetClassNameW(control, name, 16);
    return std::wstring_view(name) == L"button" &&
           (static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)) & BS_TYPEMASK) ==
               BS_AUTORADIOBUTTON;
}

}  // namespace

void DDX_Radio(CDataExchange* dx, int firstId, int& value) {
    HWND first = ::GetDlgItem(dx->m_pDlgWnd->m_hWnd, firstId);
    if (!first) return;
    std::vector<HWND> radios;
    for (HWND c = first; c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (c != first && (static_cast<DWORD>(GetWindowLongPtrW(c, GWL_STYLE)) & WS_GROUP)) break;
        if (IsRadioButton(c)) radios.push_back(c);
    }
    if (dx->m_bSaveAndValidate) {
        value = -1;
        for (size_t i = 0; i < radios.size(); ++i)
            if (SendMessageW(radios[i], BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = static_cast<int>(i);
    } else {
        for (size_t i = 0; i < radios.size(); ++i)
            SendMessageW(radios[i], BM_SETCHECK,
                         static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    HWND control = ::GetDlgItem(dx->m_pDlgWnd->m_hWnd, id);
    if (!control) return;
    if (dx->m_bSaveAndValidate) {
        int n = ::GetWindowTextLengthW(control);
        std::wstring buffer(static_cast<size_t>(n) + 1, L'\0');
        ::GetWindowTextW(control, buffer.data(), n + 1);
        buffer.resize(static_cast<size_t>(n));
        value = CString(std::move(buffer));
    } else {
        ::SetWindowTextW(control, value);
    }
}

// --- the command bar ---

CCeCommandBar::~CCeCommandBar() {
    HWND h = Detach();
    if (h && ::IsWindow(h)) ::CommandBar_Destroy(h);
}

BOOL CCeCommandBar::Create(CWnd* parent, DWORD style, UINT id) {
    if (!parent || !parent->m_hWnd || m_hWnd) return FALSE;
    HWND h = ::CommandBar_Create(AfxGetInstanceHandle(), parent->m_hWnd, static_cast<int>(id));
    if (!h) return FALSE;
    if (!(style & WS_VISIBLE)) ::ShowWindow(h, SW_HIDE);
    Attach(h);
    return TRUE;
}

HMENU CCeCommandBar::InsertMenuBar(UINT menuId, int button) {
    if (!::CommandBar_InsertMenubar(m_hWnd, AfxGetInstanceHandle(), menuId,
                                    static_cast<WORD>(button)))
        return nullptr;
    return GetMenu();
}

BOOL CCeCommandBar::LoadToolBar(UINT toolBarId) {
    return ::CommandBar_AddToolBar(m_hWnd, AfxGetInstanceHandle(), toolBarId);
}

// --- CFrameWnd ---

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    afx::OnMessage<&CFrameWnd::OnClose>(WM_CLOSE),
        afx::OnMessage<&CFrameWnd::OnNcDestroy>(WM_NCDESTROY),
        afx::OnCommand<&CFrameWnd::OnViewFullScreen>(ID_VIEW_FULLSCREEN),
END_MESSAGE_MAP()

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, void*) {
    wchar_t title[256] = L"";
    ::LoadStringW(AfxGetInstanceHandle(), resourceId, title, 256);
    // A frame is a top-level window over the main area; the add-to-title flag is the framework's.
    DWORD windowStyle = style & ~(FWS_ADDTOTITLE | WS_VISIBLE | WS_CHILD | WS_POPUP);
    m_hAccelTable = ::LoadAcceleratorsW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(resourceId));
    return CreateFrameWindow(title, windowStyle, parent ? parent->m_hWnd : nullptr);
}

void CFrameWnd::RecalcLayout(BOOL) {
    // The frame's client area ends where its command bar begins, or at the screen's bottom.
    if (!m_hWnd) return;
    HWND bar = user::CommandBarOf(m_hWnd);
    bool shown = bar && (static_cast<DWORD>(GetWindowLongPtrW(bar, GWL_STYLE)) & WS_VISIBLE);
    int bottom = shown ? kCommandBarTop : kScreenHeight;
    RECT r;
    ::GetWindowRect(m_hWnd, &r);
    if (r.bottom != bottom)
        ::MoveWindow(m_hWnd, 0, kNavBarHeight, kScreenWidth, bottom - kNavBarHeight, TRUE);
}

HMENU CFrameWnd::GetMenu() const {
    HWND bar = m_hWnd ? user::CommandBarOf(m_hWnd) : nullptr;
    return bar ? ::CommandBar_GetMenu(bar, 0) : nullptr;
}

BOOL CFrameWnd::OnCmdMsg(UINT id, UINT code) {
    // The frame's own map first, then the application's.
    if (CWnd::OnCmdMsg(id, code)) return TRUE;
    return theApp && static_cast<CCmdTarget*>(theApp)->OnCmdMsg(id, code);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg) {
    if (!m_hAccelTable || !m_hWnd) return FALSE;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return FALSE;
    // Keys for the frame itself or its children; an owned box or dialog keeps its own.
    HWND h = msg->hwnd;
    while (h && h != m_hWnd && (static_cast<DWORD>(::GetWindowLongPtrW(h, GWL_STYLE)) & WS_CHILD))
        h = ::GetParent(h);
    if (h != m_hWnd) return FALSE;
    return ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, msg) != 0;
}

void CFrameWnd::OnViewFullScreen() {
    user::ToggleFullScreen();
}

void CFrameWnd::OnClose() {
    DestroyWindow();
}

void CFrameWnd::OnNcDestroy() {
    if (theApp && theApp->m_pMainWnd == this) {
        theApp->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
}

// --- CDialog ---

INT_PTR AfxDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandle(hwnd);
    if (message == WM_INITDIALOG) {
        wnd = reinterpret_cast<CDialog*>(lParam);
        wnd->Attach(hwnd);
        return static_cast<CDialog*>(wnd)->OnInitDialog();
    }
    if (!wnd) return FALSE;
    CWnd::Current saved = wnd->current_;
    wnd->current_ = {message, wParam, lParam};
    BOOL handled = FALSE;
    if (message == WM_COMMAND) {
        handled = wnd->OnCommand(wParam, lParam);
    } else if (const MessageMapEntry* e = afx::FindEntry(wnd->GetMessageMap(), message, 0, 0)) {
        e->handler(wnd, wParam, lParam);
        handled = TRUE;
    }
    wnd->current_ = saved;
    return handled;
}

const MessageMap* CDialog::ThisMessageMap() {
    static const MessageMapEntry entries[] = {
        afx::OnCommand<&CDialog::OnOK>(IDOK),
        afx::OnCommand<&CDialog::OnCancel>(IDCANCEL),
    };
    static const MessageMap map{&CWnd::ThisMessageMap, entries};
    return &map;
}

const MessageMap* CDialog::GetMessageMap() const {
    return ThisMessageMap();
}

BOOL CDialog::OnCmdMsg(UINT id, UINT code) {
    return CWnd::OnCmdMsg(id, code);
}

INT_PTR CDialog::DoModal() {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner && AfxGetMainWnd()) owner = AfxGetMainWnd()->m_hWnd;
    INT_PTR result = ::DialogBoxParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate),
                                       owner, AfxDlgProc, reinterpret_cast<LPARAM>(this));
    Detach();
    return result;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result) {
    ::EndDialog(m_hWnd, result);
}

// --- CWinApp ---

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    afx::OnCommand<&CWinApp::OnAppExit>(ID_APP_EXIT),
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCWSTR appName) : m_pszAppName(appName) {
    theApp = this;
}

CWinApp::~CWinApp() {
    if (theApp == this) theApp = nullptr;
}

int CWinApp::Run() {
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0)) {
        if (PreTranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    exitCode_ = msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
    user::TakeQuit();
    return ExitInstance();
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    return m_pMainWnd && m_pMainWnd->m_hWnd && m_pMainWnd->PreTranslateMessage(msg);
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd && m_pMainWnd->m_hWnd) ::SendMessageW(m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
}

CWinApp* AfxGetApp() {
    return theApp;
}
CWnd* AfxGetMainWnd() {
    return theApp ? theApp->m_pMainWnd : nullptr;
}
HINSTANCE AfxGetInstanceHandle() {
    return theApp ? theApp->m_hInstance : nullptr;
}

int AfxWinMain(int showCommand) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_nCmdShow = showCommand;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd) app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
