// The view's timer tick: its gates as a table, the channel check that takes
// no reading, and the keep-alive that goes only to idle network links.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <string>

#include "app/Globals.h"
#include "app/Simbrel1View.h"
#include "app/TestSettingsDialog.h"
#include "comm/QarCommunications.h"
#include "testrun/TestGraph1.h"
#include "tests/TestSupport.h"
#include "tests/app/MessageTestSupport.h"

namespace {

using Gate = CSimbrel1View::TickGate;
using Work = CSimbrel1View::TickWork;

CSimbrel1View::CTickInput Idle()
{
    CSimbrel1View::CTickInput in;
    in.bScreenShown = 1;
    in.bAllConnected = 1;
    in.bPrimaryLink = 1;
    in.bLiveReadings = 1;
    in.chMethod = L'A';
    return in;
}

TEST(ViewTimer, GatesTable)
{
    struct Case {
        const char* name;
        void (*change)(CSimbrel1View::CTickInput&);
        Gate expected;
    } cases[] = {
        {"nothing holds it", [](CSimbrel1View::CTickInput&) {}, Gate::Proceed},
        {"PDF printing", [](CSimbrel1View::CTickInput& in) { in.bPdfRunning = 1; }, Gate::Ignore},
        {"re-identifying", [](CSimbrel1View::CTickInput& in) { in.bReidentifying = 1; }, Gate::Ignore},
        {"after an idle reading", [](CSimbrel1View::CTickInput& in) { in.bSkipNext = 1; }, Gate::Skip},
        {"off-line screen", [](CSimbrel1View::CTickInput& in) { in.bOffLine = 1; }, Gate::OffLineStatus},
        {"off-line, screen closed",
         [](CSimbrel1View::CTickInput& in) {
             in.bOffLine = 1;
             in.bScreenShown = 0;
         },
         Gate::Proceed},
        {"channel check busy", [](CSimbrel1View::CTickInput& in) { in.bCheckBusy = 1; }, Gate::Ignore},
        {"idle tick running", [](CSimbrel1View::CTickInput& in) { in.bIdleRunning = 1; }, Gate::Ignore},
        {"step running", [](CSimbrel1View::CTickInput& in) { in.bStepRunning = 1; }, Gate::Ignore},
        {"fan list dropped", [](CSimbrel1View::CTickInput& in) { in.bFanListDropped = 1; }, Gate::Ignore},
        {"device dialog", [](CSimbrel1View::CTickInput& in) { in.bDeviceDialogOpen = 1; }, Gate::Ignore},
        {"start in progress", [](CSimbrel1View::CTickInput& in) { in.bStarting = 1; }, Gate::Ignore},
    };
    for (const Case& c : cases) {
        CSimbrel1View::CTickInput in = Idle();
        c.change(in);
        EXPECT_EQ(c.expected, CSimbrel1View::PlanTickGate(in)) << c.name;
    }
}

TEST(ViewTimer, WorkTable)
{
    struct Case {
        const char* name;
        void (*change)(CSimbrel1View::CTickInput&);
        Work expected;
    } cases[] = {
        {"idle reading", [](CSimbrel1View::CTickInput&) {}, Work::Idle},
        {"test step", [](CSimbrel1View::CTickInput& in) { in.bTestRunning = 1; }, Work::Step},
        {"semi-automatic step",
         [](CSimbrel1View::CTickInput& in) {
             in.bTestRunning = 1;
             in.chMethod = L'S';
         },
         Work::Step},
        {"manual method", [](CSimbrel1View::CTickInput& in) { in.chMethod = L'M'; }, Work::None},
        {"a link not connected", [](CSimbrel1View::CTickInput& in) { in.bAllConnected = 0; }, Work::None},
        {"live readings off", [](CSimbrel1View::CTickInput& in) { in.bLiveReadings = 0; }, Work::None},
        {"step without live readings",
         [](CSimbrel1View::CTickInput& in) {
             in.bTestRunning = 1;
             in.bLiveReadings = 0;
         },
         Work::None},
        {"screen closed", [](CSimbrel1View::CTickInput& in) { in.bScreenShown = 0; }, Work::None},
        {"no primary link", [](CSimbrel1View::CTickInput& in) { in.bPrimaryLink = 0; }, Work::None},
        {"240: channel check, no reading", [](CSimbrel1View::CTickInput& in) { in.nTickCount = 240; },
         Work::ChannelCheck},
        {"240 while printing hides the screen",
         [](CSimbrel1View::CTickInput& in) {
             in.nTickCount = 240;
             in.bScreenShown = 0;
             in.bHiddenForPrint = 1;
         },
         Work::ChannelCheck},
        {"240 during a test: neither check nor step",
         [](CSimbrel1View::CTickInput& in) {
             in.nTickCount = 240;
             in.bTestRunning = 1;
         },
         Work::None},
        {"239 reads", [](CSimbrel1View::CTickInput& in) { in.nTickCount = 239; }, Work::Idle},
    };
    for (const Case& c : cases) {
        CSimbrel1View::CTickInput in = Idle();
        c.change(in);
        EXPECT_EQ(c.expected, CSimbrel1View::PlanTickWork(in)) << c.name;
    }
}

TEST(ViewTimer, TickCounterWrapsAndSkipFlagClears)
{
    CTestView view(L"view-timer-ticks");
    CTestGraph1& screen = *view->m_pTestGraph;
    ASSERT_EQ(0, screen.m_bShown);
    // The screen is closed: every tick only counts.
    view->m_nTickCount = 240;
    view->OnTimer(1);
    EXPECT_EQ(0, view->m_nTickCount);
    view->OnTimer(1);
    EXPECT_EQ(1, view->m_nTickCount);
    view->m_bAfterIdleReading = 1;
    view->OnTimer(1);
    EXPECT_EQ(0, view->m_bAfterIdleReading);
    EXPECT_EQ(1, view->m_nTickCount);
}

// A connected loopback TCP pair standing in for a network gauge's link.
class KeepAlive : public testing::Test {
protected:
    void SetUp() override
    {
        WSADATA data;
        ASSERT_EQ(0, ::WSAStartup(MAKEWORD(2, 2), &data));
        m_listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(0, ::bind(m_listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr));
        ASSERT_EQ(0, ::listen(m_listener, 1));
        int nLength = sizeof addr;
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&addr), &nLength);
        m_client = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        ASSERT_EQ(0, ::connect(m_client, reinterpret_cast<sockaddr*>(&addr), sizeof addr));
        m_server = ::accept(m_listener, nullptr, nullptr);
        ASSERT_NE(INVALID_SOCKET, m_server);
        u_long nNonBlocking = 1;
        ::ioctlsocket(m_server, FIONBIO, &nNonBlocking);
        m_pLink = m_view->m_pLink[1];
        ASSERT_NE(nullptr, m_pLink);
    }
    void TearDown() override
    {
        if (m_pLink != nullptr) {
            m_pLink->m_ConnectSocket = INVALID_SOCKET;
            m_pLink->m_bNetwork = 0;
            m_pLink->m_bSocketOpen = 0;
            m_pLink->m_bIdentified = 0;
            m_pLink->m_bBusy = 0;
        }
        ::closesocket(m_client);
        ::closesocket(m_server);
        ::closesocket(m_listener);
        ::WSACleanup();
    }
    std::string Received()
    {
        std::string text;
        char buffer[64];
        for (int i = 0; i < 50; ++i) {
            const int n = ::recv(m_server, buffer, sizeof buffer, 0);
            if (n > 0) {
                text.append(buffer, static_cast<size_t>(n));
                continue;
            }
            if (!text.empty())
                break;
            ::Sleep(2);
        }
        return text;
    }

    CTestView m_view{L"keep-alive"};
    CQarCommunications* m_pLink = nullptr;
    SOCKET m_listener = INVALID_SOCKET, m_client = INVALID_SOCKET, m_server = INVALID_SOCKET;
};

TEST_F(KeepAlive, OnlyOpenIdentifiedIdleNetworkLinks)
{
    struct Case {
        const char* name;
        int bNetwork, bOpen, bIdentified, bBusy;
        const char* expected;
    } cases[] = {
        {"idle network link", 1, 1, 1, 0, "KA\r\n"},
        {"busy", 1, 1, 1, 1, ""},
        {"not identified", 1, 1, 0, 0, ""},
        {"socket closed", 1, 0, 1, 0, ""},
        {"serial link", 0, 1, 1, 0, ""},
    };
    for (const Case& c : cases) {
        m_pLink->m_ConnectSocket = m_client;
        m_pLink->m_bNetwork = c.bNetwork;
        m_pLink->m_bSocketOpen = c.bOpen;
        m_pLink->m_bIdentified = c.bIdentified;
        m_pLink->m_bBusy = c.bBusy;
        m_view->OnTimer(2);
        EXPECT_EQ(std::string(c.expected), Received()) << c.name;
    }
}

}  // namespace
