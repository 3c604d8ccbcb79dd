// The panels under a result list: the encoding panels and the messages panel.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

#include "catalog_store/sql_text.h"
#include "gui/lists/encoding_panels.h"
#include "gui/lists/messages_panel.h"

namespace sonarchive::testing {
namespace {

QString Value(const QWidget& panels, const char* label) {
    const auto* found = panels.findChild<QLabel*>(QString::fromLatin1(label));
    return found != nullptr ? found->text() : QStringLiteral("<missing>");
}

TEST(EncodingPanels, ShowOnlyThePanelOfTheRowsFormatAndDisappearWithoutOne) {
    QWidget window;
    gui::EncodingPanels& panels = *new gui::EncodingPanels(&window);
    window.show();
    EXPECT_FALSE(panels.isVisible());

    catalog::TMainDataRec mp3;
    mp3.dFormat = catalog::kFormatMp3;
    mp3.dMPEGBitrate = 192;
    mp3.dMPEGFrequency = 44100;
    mp3.dLength = 187.5;
    mp3.dMPEGCRC = true;
    panels.ShowFor(&mp3);
    EXPECT_TRUE(panels.isVisible());
    EXPECT_EQ(panels.VisiblePanel(), "PMPEGInfo");
    EXPECT_EQ(Value(panels, "LBitRate"), "192");
    EXPECT_EQ(Value(panels, "LSampleRate"), "44100 Hz");
    EXPECT_EQ(Value(panels, "LLength"), "188 seconds");
    EXPECT_EQ(Value(panels, "LCRC"), "Yes");
    EXPECT_FALSE(panels.findChild<QGroupBox*>("PWaveEncoding")->isVisible());

    catalog::TMainDataRec wav;
    wav.dFormat = catalog::kFormatWav;
    wav.dMPEGLayer = 4;
    wav.dChannelMode = 2;
    panels.ShowFor(&wav);
    EXPECT_EQ(panels.VisiblePanel(), "PWaveEncoding");
    EXPECT_EQ(Value(panels, "LWaveBlockAlign"), "4 bytes");
    EXPECT_EQ(Value(panels, "lWaveChannelMode"), "Stereo");
    EXPECT_FALSE(panels.findChild<QGroupBox*>("PMPEGInfo")->isVisible());
    EXPECT_EQ(panels.height(), panels.findChild<QGroupBox*>("PWaveEncoding")->sizeHint().height());

    catalog::TMainDataRec other;
    other.dFormat = catalog::kFormatOther;
    panels.ShowFor(&other);
    EXPECT_FALSE(panels.isVisible());
    EXPECT_EQ(panels.VisiblePanel(), "");
    panels.ShowFor(nullptr);
    EXPECT_FALSE(panels.isVisible());
}

TEST(MessagesPanel, StaysHiddenUntilALineArrivesAndItsButtonHidesIt) {
    QWidget window;
    auto* panel = new gui::MessagesPanel(&window);
    window.show();
    EXPECT_EQ(panel->objectName(), "PErrorMessages");
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->findChild<QLabel*>("LMessages")->text(), "       Messages");

    panel->AppendLines({"Couldn't delete file \"/music/caf\xEE\xBF\xA9.mp3\"", "second"});
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->Lines(),
              (QStringList{QString::fromUtf8("Couldn't delete file \"/music/caf\xC3\xA9.mp3\""),
                           QStringLiteral("second")}));
    EXPECT_TRUE(panel->findChild<QPlainTextEdit*>("MemoErrorMesages")->isReadOnly());

    panel->findChild<QToolButton*>("BHideMessages")->click();
    EXPECT_FALSE(panel->isVisible());
    panel->AppendLine("third");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->Lines().size(), 3);
}

}  // namespace
}  // namespace sonarchive::testing
