#include "tests/afx/test_app.h"

#include "resources/game_tables.h"
#include "tests/user/blit_whole_client.h"

namespace testing_afx {

namespace {

std::uint32_t toolPixels[64 * 16];
const ToolBarResource kToolBar{toolPixels, 64, 16, game_tables::kTools};

constexpr ACCEL kKeys[] = {
    {FVIRTKEY | FCONTROL, 'N', kCmdNext},
    {FVIRTKEY | FCONTROL, 'A', kCmdAppOnly},
    {FVIRTKEY, VK_F2, kCmdBoth},
    {FVIRTKEY, VK_F11, ID_VIEW_FULLSCREEN},
    {FVIRTKEY | FALT, VK_RETURN, ID_VIEW_FULLSCREEN},
};

}  // namespace

void RegisterTestResources() {
    RegisterMenuResource(128, game_tables::kMenu);
    RegisterAcceleratorResource(128, kKeys);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x)
            toolPixels[y * 64 + x] =
                ((x / 16) % 2 ? 0xC00000u : 0x0000C0u) | ((x + y) % 2 ? 0xFF00u : 0);
    RegisterToolBarResource(128, &kToolBar);
    RegisterStringResource(128, L"generic");
    RegisterDialogResource(kOptionsDialog, &game_tables::kOptions);
}

Trace& TheTrace() {
    static Trace trace;
    return trace;
}

// --- the dialog ---

BEGIN_MESSAGE_MAP(OptionsDialog, CDialog)
    afx::OnClicked<&OptionsDialog::OnLanguageClicked>(kEnglish),
        afx::OnClicked<&OptionsDialog::OnLanguageClicked>(kFrench),
        afx::OnClicked<&OptionsDialog::OnResetStatistics>(kReset),
END_MESSAGE_MAP()

void OptionsDialog::DoDataExchange(CDataExchange* dx) {
    DDX_Radio(dx, kEnglish, languageChoice);
    DDX_Text(dx, kStats, statsText);
}

BOOL OptionsDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    languageChoice = startLanguage;
    statsText = L"#0 - (0 ms)\r\nTotal time: 0 ms";
    UpdateData(FALSE);
    return TRUE;
}

void OptionsDialog::OnOK() {
    UpdateData(TRUE);
    TheTrace().languageChoiceAtOk = languageChoice;
    CDialog::OnOK();
}

void OptionsDialog::OnLanguageClicked() {
    UpdateData(TRUE);
    TheTrace().calls.push_back("language " + std::to_string(languageChoice));
}

void OptionsDialog::OnResetStatistics() {
    if (MessageBox(L"This will erase the statistics. Continue?", L"Warning", MB_OKCANCEL) != IDOK)
        return;
    statsText = L"reset";
    UpdateData(FALSE);
}

// --- the main window ---

BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
    afx::OnMessage<&TestFrame::OnTap>(WM_LBUTTONDOWN),
        afx::OnMessage<&TestFrame::OnPaint>(WM_PAINT),
        afx::OnCommand<&TestFrame::ShowAbout>(kCmdAbout),
        afx::OnCommand<&TestFrame::OnNext>(kCmdNext),
        afx::OnCommand<&TestFrame::ShowOptions>(kCmdOptions),
        afx::OnMessage<&TestFrame::OnClose>(WM_CLOSE),
        afx::OnMessage<&TestFrame::OnTimer>(WM_TIMER),
        afx::OnMessage<&TestFrame::OnKeyDown>(WM_KEYDOWN),
        afx::OnCommand<&TestFrame::OnBoth>(kCmdBoth),
        afx::OnMessage<&TestFrame::OnDoubleTap>(WM_LBUTTONDBLCLK),
END_MESSAGE_MAP()

TestFrame::TestFrame() {
    LoadFrame(128, FWS_ADDTOTITLE, nullptr, nullptr);
    if (!commandBar.m_hWnd) commandBar.Create(this, AFX_DEFAULT_TOOLBAR_STYLE, AFX_IDW_TOOLBAR);
    commandBar.InsertMenuBar(128, 0xFFFF);
    commandBar.LoadToolBar(128);
    RecalcLayout(0);
    SetTimer(1, 60, nullptr);
}

TestFrame::~TestFrame() {
    TheTrace().calls.push_back("frame deleted");
}

void TestFrame::OnTap(UINT, CPoint p) {
    TheTrace().calls.push_back("tap " + std::to_string(p.x) + "," + std::to_string(p.y));
}

void TestFrame::OnDoubleTap(UINT flags, CPoint p) {
    OnTap(flags, p);
    Default();
}

void TestFrame::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    BlitWholeClient(m_hWnd, dc, RGB(0, 128, 0));
    EndPaint(m_hWnd, &ps);
    ++TheTrace().paints;
}

void TestFrame::OnTimer(UINT_PTR id) {
    TheTrace().calls.push_back("timer " + std::to_string(id));
    Invalidate(FALSE);
}

void TestFrame::OnKeyDown(UINT key, UINT, UINT) {
    TheTrace().calls.push_back("key " + std::to_string(key));
}

void TestFrame::OnClose() {
    TheTrace().calls.push_back("close asked");
    if (MessageBox(L"This will abort the current game. Abort?", L"Warning", MB_OKCANCEL) == IDOK)
        CFrameWnd::OnClose();
}

void TestFrame::OnNext() {
    TheTrace().calls.push_back("frame next");
}
void TestFrame::OnBoth() {
    TheTrace().calls.push_back("frame both");
}

void TestFrame::ShowOptions() {
    OptionsDialog dialog;
    dialog.startLanguage = ++dialogRuns == 1 ? 1 : -1;  // the second run: no language set
    INT_PTR answer = dialog.DoModal();
    TheTrace().statsAtClose = dialog.statsText.Str();
    TheTrace().calls.push_back("options closed " + std::to_string(answer) + " lang " +
                               std::to_string(dialog.languageChoice));
}

void TestFrame::ShowAbout() {
    MessageBox(L"VelquinPPC 2.0\r\nA test of the platform\r\n\r\nBoxes over windows", L"About",
               MB_OK);
}

// --- the application ---

BEGIN_MESSAGE_MAP(TestApp, CWinApp)
    afx::OnCommand<&TestApp::OnAppExit>(kCmdExit), afx::OnCommand<&TestApp::OnAppExit>(100),
        afx::OnCommand<&TestApp::OnBoth>(kCmdBoth),
        afx::OnCommand<&TestApp::OnAppOnly>(kCmdAppOnly),
END_MESSAGE_MAP()

BOOL TestApp::InitInstance() {
    auto* frame = new TestFrame;
    m_pMainWnd = frame;
    frame->ShowWindow(m_nCmdShow);
    frame->UpdateWindow();
    RECT r;
    frame->GetClientRect(&r);
    frame->InvalidateRect(&r, TRUE);
    frame->SetWindowText(L"Velquin PPC");
    return TRUE;
}

int TestApp::ExitInstance() {
    TheTrace().exitInstanceRan = true;
    return CWinApp::ExitInstance();
}

void TestApp::OnBoth() {
    TheTrace().calls.push_back("app both");
}
void TestApp::OnAppOnly() {
    TheTrace().calls.push_back("app only");
}

}  // namespace testing_afx
