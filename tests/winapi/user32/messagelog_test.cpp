// The message log's comparison with an expected sequence.
#include "window_fixture.h"

namespace winapi::testing {
namespace {

class MessageLogCompare : public WindowTest {};

TEST_F(MessageLogCompare, OptionalEntriesMayBeMissingButNothingElseMay) {
    HWND top = createTopLevel();
    MessageLog log;
    SendMessageA(top, WM_USER, 1, 0);
    SendMessageA(top, WM_USER + 1, 2, 0);

    EXPECT_TRUE(log.matches({WM_USER, WM_USER + 1}));
    EXPECT_TRUE(log.matches({ExpectedMessage(WM_NULL).maybe(), WM_USER,
                             ExpectedMessage(WM_USER + 5).maybe(), WM_USER + 1,
                             ExpectedMessage(WM_NULL).maybe()}));
    EXPECT_TRUE(log.matches({ExpectedMessage(WM_USER).to(top).wparam(1), WM_USER + 1}));

    EXPECT_FALSE(log.matches({WM_USER}));                           // unexpected extra
    EXPECT_FALSE(log.matches({WM_USER, WM_USER + 1, WM_USER + 2}));  // missing entry
    EXPECT_FALSE(log.matches({WM_USER + 1, WM_USER}));               // wrong order
    EXPECT_FALSE(log.matches({ExpectedMessage(WM_USER).wparam(2), WM_USER + 1}));
    std::string report = log.mismatch({WM_USER, WM_USER + 2});
    EXPECT_NE(report.find("entry 1"), std::string::npos) << report;
}

TEST_F(MessageLogCompare, NotificationCodesAreReadAtDelivery) {
    HWND top = createTopLevel();
    MessageLog log;
    NMHDR header{top, 7, 0xFFFFFE70u};
    SendMessageA(top, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header));
    SendMessageA(top, WM_COMMAND, MAKEWPARAM(5, EN_CHANGE), 0);
    header.code = 0;  // the log keeps what was delivered
    EXPECT_TRUE(log.matches({ExpectedMessage(WM_NOTIFY).notify(0xFFFFFE70u),
                             ExpectedMessage(WM_COMMAND).notify(EN_CHANGE)}))
        << log.mismatch({ExpectedMessage(WM_NOTIFY).notify(0xFFFFFE70u),
                         ExpectedMessage(WM_COMMAND).notify(EN_CHANGE)});
}

}  // namespace
}  // namespace winapi::testing
