#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <functional>
#include <vector>

#include "gui/window_fixture.h"
#include "model/address_fields.h"

namespace tarn::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Bytes = std::vector<std::uint8_t>;

class GeneralTabTest : public WindowTest {
 public:
  // The tables' steps reach the window through these.
  using WindowTest::Find;
  using WindowTest::TakeMessages;
  using WindowTest::window;

  QCheckBox* Box(const char* name) { return Find<QCheckBox>(QString::fromLatin1(name)); }
  Qt::CheckState State(const char* name) { return Box(name)->checkState(); }
  bool Selected(const char* name) {
    return Find<QRadioButton>(QString::fromLatin1(name))->isChecked();
  }
  bool Shown(const char* name) {
    return Find<QWidget>(QString::fromLatin1(name))->isVisibleTo(window.get());
  }
  std::string Label(const char* name) {
    return Find<QLabel>(QString::fromLatin1(name))->text().toStdString();
  }
  bool Red(const char* name) {
    auto* label = Find<QLabel>(QString::fromLatin1(name));
    return label->palette().color(QPalette::WindowText) !=
           QApplication::palette(label).color(QPalette::WindowText);
  }
  void ClickOn(const char* name) { Click(QString::fromLatin1(name)); }
  void TypeInto(const char* name, const char* text) {
    Type(QString::fromLatin1(name), QString::fromUtf8(text));
  }
  // As a user pastes a text the keyboard cannot type, and commits it with Enter.
  void PasteInto(const char* name, const char* utf8) {
    auto* field = Find<QLineEdit>(QString::fromLatin1(name));
    field->setFocus();
    field->selectAll();
    field->insert(QString::fromUtf8(utf8));
    QTest::keyClick(field, Qt::Key_Return);
  }
  std::string TextOf(const char* name) { return Text(QString::fromLatin1(name)).toStdString(); }
  Bytes& Register(int number) { return tarn.memory().registers[number]; }
  GeneralSettings& Model() { return window->workspace().config.general_settings; }
};

// One group of the General tab: what the Tarn holds, what its Read button shows, what the user
// edits, and what its Write button leaves in the Tarn.
struct RoundTrip {
  const char* group;
  std::function<void(GeneralTabTest&)> put_into_tarn;
  const char* read;
  std::function<void(GeneralTabTest&)> check_shown;
  std::function<void(GeneralTabTest&)> edit;
  const char* write;
  std::function<void(GeneralTabTest&)> check_tarn;
};

TEST_F(GeneralTabTest, EveryGroupReadsIntoTheWidgetsAndWritesTheEditsBack) {
  const RoundTrip trips[] = {
      {"version", [](GeneralTabTest&) {}, "CommandGenVersion",
       [](GeneralTabTest& t) { EXPECT_EQ(t.Label("LabelGenVersionString"), "3.1.0.10"); }, {},
       nullptr, {}},
      {"ID string", [](GeneralTabTest& t) { t.Register(10) = {'N', 'o', 'r', 'd', ' ', '7'}; },
       "CommandGenIDRead",
       [](GeneralTabTest& t) { EXPECT_EQ(t.TextOf("TextGenIDString"), "Nord 7"); },
       [](GeneralTabTest& t) { t.TypeInto("TextGenIDString", "Signal box north"); },
       "CommandGenIDWrite",
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.Register(10), Bytes(std::string_view("Signal box n").begin(),
                                         std::string_view("Signal box n").end()));
         EXPECT_EQ(t.TextOf("TextGenIDString"), "Signal box n");
       }},
      {"DCC",
       [](GeneralTabTest& t) {
         t.Register(5) = {1 | 4};
         t.Register(4) = {44, 4};
         t.Register(12) = {40, 15};
       },
       "CommandGenDCCRead",
       [](GeneralTabTest& t) {
         EXPECT_TRUE(t.Selected("OptGenDCC_PRP_1"));
         EXPECT_EQ(t.State("ChkGenDCC_BPSI"), Qt::Checked);
         EXPECT_EQ(t.State("ChkGenDCCAllow0"), Qt::Unchecked);
         EXPECT_EQ(t.TextOf("TextGenDCCAddress"), "300");
         EXPECT_EQ(t.TextOf("TextGenXDCCAddress"), "1000");
         EXPECT_EQ(t.Label("LabelGenDCCOutput"), "Output 1197 .. 1228");
       },
       [](GeneralTabTest& t) {
         t.ClickOn("OptGenDCC_PRP_3");
         t.ClickOn("ChkGenDCCAllow0");
         t.TypeInto("TextGenDCCAddress", "64");
         t.TypeInto("TextGenXDCCAddress", "2046");
       },
       "CommandGenDCCWrite",
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.Register(5), Bytes{3 | 4 | 8});
         EXPECT_EQ(t.Register(4), (Bytes{0, 1}));
         EXPECT_EQ(t.Register(12), (Bytes{62, 31}));
       }},
      {"Vesk flexible addressing",
       [](GeneralTabTest& t) {
         t.Register(8) = {1, 5};
         t.Register(2) = {7};
         t.Register(3) = {1, 0, 8, 0};
       },
       "CommandGenAddrRead",
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.State("CheckGenVeskaddr"), Qt::Checked);
         EXPECT_FALSE(t.Shown("CheckGenTarnNative"));
         EXPECT_TRUE(t.Shown("TextGenVeskaddr"));
         EXPECT_EQ(t.TextOf("TextGenVeskaddr"), "21");
         EXPECT_EQ(t.TextOf("TextGenXaddr"), "8");
         EXPECT_EQ(t.State("CheckGenXGM_0"), Qt::Checked);
         EXPECT_EQ(t.State("CheckGenXGM_11"), Qt::Checked);
         EXPECT_EQ(t.State("CheckGenXGM_1"), Qt::Unchecked);
         EXPECT_THAT(t.TakeMessages(), IsEmpty()) << "a read asks nothing";
       },
       [](GeneralTabTest& t) {
         t.TypeInto("TextGenVeskaddr", "13");
         t.TypeInto("TextGenXaddr", "3");
         t.ClickOn("CheckGenXGM_0");
         t.ClickOn("CheckGenXGM_15");
       },
       "CommandGenAddrWrite",
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.Register(8), (Bytes{1, 3}));
         EXPECT_EQ(t.Register(2), Bytes{2});
         EXPECT_EQ(t.Register(3), (Bytes{0, 0, 8, 8}));
       }},
      {"Tarn native mode", [](GeneralTabTest& t) { t.Register(8) = {0, 64}; },
       "CommandGenAddrRead",
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.State("CheckGenTarnNative"), Qt::Checked);
         EXPECT_FALSE(t.Shown("CheckGenVeskaddr"));
         EXPECT_FALSE(t.Shown("TextGenVeskaddr"));
       },
       [](GeneralTabTest& t) { t.ClickOn("CheckGenTarnNative"); }, "CommandGenAddrWrite",
       [](GeneralTabTest& t) { EXPECT_EQ(t.Register(8), (Bytes{0, 0})); }},
      {"lamps",
       [](GeneralTabTest& t) {
         t.Register(6) = {0};
         t.Register(7) = {0x41};
       },
       "CommandLCRead",
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.State("CheckLCGreen_7"), Qt::PartiallyChecked);
         EXPECT_EQ(t.State("CheckLCOrange_0"), Qt::Checked);
         EXPECT_EQ(t.State("CheckLCOrange_6"), Qt::Checked);
         EXPECT_EQ(t.State("CheckLCOrange_7"), Qt::Unchecked);
       },
       [](GeneralTabTest& t) {
         t.ClickOn("CheckLCGreen_4");
         t.ClickOn("CheckLCOrange_7");
       },
       "CommandLCWrite",
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.Register(6), Bytes{16});
         EXPECT_EQ(t.Register(7), Bytes{0});
       }},
      {"hardware configuration", [](GeneralTabTest& t) { t.Register(1) = {1, 2, 3, 0}; },
       "CommandGenHWCRead",
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.State("ChkGenHWCSink_0"), Qt::Checked);
         EXPECT_EQ(t.State("ChkGenHWCSource_0"), Qt::Unchecked);
         EXPECT_EQ(t.State("ChkGenHWCSource_1"), Qt::Checked);
         EXPECT_EQ(t.State("ChkGenHWCSink_2"), Qt::Checked);
         EXPECT_EQ(t.State("ChkGenHWCSource_2"), Qt::Checked);
       },
       [](GeneralTabTest& t) {
         t.ClickOn("ChkGenHWCSink_0");
         t.ClickOn("ChkGenHWCSink_3");
       },
       "CommandGenHWCWrite",
       [](GeneralTabTest& t) { EXPECT_EQ(t.Register(1), (Bytes{0, 2, 3, 1})); }},
      {"serial port", [](GeneralTabTest& t) { t.Register(13) = {1, 0x4D}; },
       "CommandGenSerialRead",
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.State("CheckGenSerialEnable"), Qt::Checked);
         EXPECT_EQ(t.Find<QComboBox>(QStringLiteral("ComboGenBaud"))->currentText().toStdString(), "57600");
         EXPECT_TRUE(t.Selected("OptionGenSerialDatabits_1"));
         EXPECT_TRUE(t.Selected("OptionGenSerialStop_1"));
         EXPECT_TRUE(t.Selected("OptionGenSerialParity_0"));
       },
       [](GeneralTabTest& t) {
         t.ClickOn("CheckGenSerialEnable");
         auto* rate = t.Find<QComboBox>(QStringLiteral("ComboGenBaud"));
         QTest::keyClick(rate, Qt::Key_Up);  // 38400
         t.ClickOn("OptionGenSerialDatabits_0");
         t.ClickOn("OptionGenSerialParity_3");
       },
       "CommandGenSerialWrite",
       [](GeneralTabTest& t) { EXPECT_EQ(t.Register(13), (Bytes{0, 4 | 48 | 64})); }},
  };
  for (const RoundTrip& trip : trips) {
    SCOPED_TRACE(trip.group);
    trip.put_into_tarn(*this);
    ClickOn(trip.read);
    trip.check_shown(*this);
    if (trip.write == nullptr) continue;
    trip.edit(*this);
    ClickOn(trip.write);
    trip.check_tarn(*this);
    EXPECT_THAT(TakeMessages(), IsEmpty());
  }
}

// A rule the tab applies as the user types, clicks and answers.
struct FieldRule {
  const char* rule;
  std::vector<PromptAnswer> answers;
  std::function<void(GeneralTabTest&)> act;
  std::function<void(GeneralTabTest&)> check;
  std::vector<std::string> messages;
};

TEST_F(GeneralTabTest, FieldsClampShowTheirRangesAndAskWhereTheyMust) {
  const std::string vesk_warning(kVeskFlexibleAddressingWarning);
  const FieldRule rules[] = {
      {"DCC starts are clamped", {},
       [](GeneralTabTest& t) {
         t.TypeInto("TextGenDCCAddress", "0");
         EXPECT_EQ(t.TextOf("TextGenDCCAddress"), "1");
         t.TypeInto("TextGenDCCAddress", "600");
         t.TypeInto("TextGenXDCCAddress", "5000");
       },
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.TextOf("TextGenDCCAddress"), "510");
         EXPECT_EQ(t.TextOf("TextGenXDCCAddress"), "2046");
         EXPECT_EQ(t.Model().dcc_address, 510);
       },
       {}},
      {"ranges run red past the last address", {},
       [](GeneralTabTest& t) {
         t.TypeInto("TextGenDCCAddress", "503");
         t.TypeInto("TextGenXDCCAddress", "2014");
         EXPECT_EQ(t.Label("LabelGenDCCOutput"), "Output 2009 .. 2040");
         EXPECT_EQ(t.Label("LabelGenXDCCOutput"), "Output 2014 .. 2045");
         EXPECT_FALSE(t.Red("LabelGenDCCOutput"));
         t.ClickOn("UpDownGenDCCAddress_up");
         t.ClickOn("UpDownGenXDCCAddress_up");
       },
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.Label("LabelGenDCCOutput"), "Output 2013 .. OVFLOW");
         EXPECT_EQ(t.Label("LabelGenXDCCOutput"), "Output 2015 .. OVERFLOW");
         EXPECT_TRUE(t.Red("LabelGenDCCOutput"));
         EXPECT_TRUE(t.Red("LabelGenXDCCOutput"));
       },
       {}},
      {"Allow Address 0 lets 0 in and raises it again when switched off", {},
       [](GeneralTabTest& t) {
         t.ClickOn("ChkGenDCCAllow0");
         t.TypeInto("TextGenDCCAddress", "0");
         t.TypeInto("TextGenXDCCAddress", "0");
         EXPECT_EQ(t.TextOf("TextGenDCCAddress"), "0");
         EXPECT_EQ(t.Label("LabelGenDCCOutput"), "Output 1 .. 32");
         t.ClickOn("ChkGenDCCAllow0");
       },
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.TextOf("TextGenDCCAddress"), "1");
         EXPECT_EQ(t.TextOf("TextGenXDCCAddress"), "1");
         EXPECT_EQ(t.Model().dcc_address, 1);
         EXPECT_EQ(t.Model().extended_dcc_address, 1);
       },
       {}},
      {"the Vesk base shows 4 x base + N", {PromptAnswer::kOk},
       [](GeneralTabTest& t) {
         t.ClickOn("CheckGenVeskaddr");
         t.TypeInto("TextGenVeskaddr", "14");
         EXPECT_EQ(t.TextOf("TextGenVeskaddr"), "13");
         t.ClickOn("UpDownGenVeskaddr_up");
         EXPECT_EQ(t.TextOf("TextGenVeskaddr"), "17");
         t.ClickOn("CheckKLnumber");  // numbering from 0
       },
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.Model().serial_base_address, 4);
         EXPECT_EQ(t.TextOf("TextGenVeskaddr"), "16");
         EXPECT_FALSE(t.Shown("CheckGenTarnNative"));
         EXPECT_EQ(t.Label("LabelGenHWCPin"),
                   "Pin       0..7         8..15      16..23       24..31");
         EXPECT_EQ(t.Box("ChkGenHWCSource_1")->accessibleName().toStdString(), "Group 2 Source, pins 8..15");
       },
       {vesk_warning}},
      {"cancelling the Vesk warning keeps the box off", {PromptAnswer::kCancel},
       [](GeneralTabTest& t) { t.ClickOn("CheckGenVeskaddr"); },
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.State("CheckGenVeskaddr"), Qt::Unchecked);
         EXPECT_FALSE(IsVeskFlexibleAddressing(t.Model()));
         EXPECT_FALSE(t.Shown("TextGenVeskaddr"));
         EXPECT_TRUE(t.Shown("CheckGenTarnNative"));
         EXPECT_FALSE(t.window->isWindowModified());
       },
       {vesk_warning}},
      {"an ID string Windows-1252 cannot hold is refused", {},
       [](GeneralTabTest& t) {
         t.TypeInto("TextGenIDString", "Yard");
         t.PasteInto("TextGenIDString", "Yard \xE2\x98\x83");
       },
       [](GeneralTabTest& t) {
         EXPECT_EQ(t.Model().id_string, "Yard");
         EXPECT_EQ(t.TextOf("TextGenIDString"), "Yard");
       },
       {"ID String cannot hold U+2603: a Tarn and its files keep only the characters of "
        "Windows-1252. The text was not changed."}},
  };
  for (const FieldRule& rule : rules) {
    SCOPED_TRACE(rule.rule);
    Start(DataFolder());
    prompter.answers.assign(rule.answers.begin(), rule.answers.end());
    rule.act(*this);
    rule.check(*this);
    EXPECT_EQ(TakeMessages(), rule.messages);
  }
}

TEST_F(GeneralTabTest, LampBoxesFollowTheIdleRule) {
  struct Click {
    const char* box;
    std::uint8_t mask;
    Qt::CheckState idle;
  };
  EXPECT_EQ(State("CheckLCGreen_7"), Qt::PartiallyChecked);
  const Click clicks[] = {
      {"CheckLCGreen_4", 0x10, Qt::Unchecked},   // a lamp bit clears the idle box
      {"CheckLCGreen_1", 0x12, Qt::Unchecked},
      {"CheckLCGreen_4", 0x02, Qt::Unchecked},
      {"CheckLCGreen_1", 0x00, Qt::PartiallyChecked},  // the last bit off: idle again
      {"CheckLCGreen_2", 0x04, Qt::Unchecked},
      {"CheckLCGreen_7", 0x00, Qt::PartiallyChecked},  // the idle box clears every bit
      {"CheckLCGreen_7", 0x00, Qt::PartiallyChecked},  // and stays the idle indication
  };
  for (const Click& click : clicks) {
    SCOPED_TRACE(click.box);
    ClickOn(click.box);
    EXPECT_EQ(Model().green_led_mask, click.mask);
    EXPECT_EQ(State("CheckLCGreen_7"), click.idle);
    EXPECT_EQ(State("CheckLCGreen_2"), click.mask & 0x04 ? Qt::Checked : Qt::Unchecked);
  }
  EXPECT_EQ(Model().orange_led_mask, 0);
}

TEST_F(GeneralTabTest, EraseFlashAsksTwiceAndErasesOnlyOnOkThenCancel) {
  struct Answering {
    std::vector<PromptAnswer> answers;
    std::size_t questions;
    bool erased;
  };
  const Answering cases[] = {
      {{PromptAnswer::kCancel}, 1, false},
      {{PromptAnswer::kOk, PromptAnswer::kOk}, 2, false},
      {{PromptAnswer::kOk, PromptAnswer::kCancel}, 2, true},
  };
  for (const Answering& c : cases) {
    Register(6) = {5};
    const bool bidirectional = window->link().bidirectional();
    prompter.answers.assign(c.answers.begin(), c.answers.end());
    ClickOn("CommandGenEraseFlash");
    EXPECT_EQ(Register(6), c.erased ? Bytes{0} : Bytes{5});
    EXPECT_EQ(window->link().bidirectional(), bidirectional);
    ASSERT_EQ(prompter.messages.size(), c.questions);
    EXPECT_EQ(prompter.messages.back().icon, PromptIcon::kWarning);
    EXPECT_EQ(prompter.messages.back().buttons, PromptButtons::kOkCancel);
    EXPECT_THAT(prompter.messages.front().text, ::testing::EndsWith("Continue?"));
    prompter.messages.clear();
  }
}

TEST_F(GeneralTabTest, ABoxClickIsOneUndoableEdit) {
  ClickOn("ChkGenHWCSource_2");
  EXPECT_TRUE(Model().source_driver[2]);
  EXPECT_TRUE(window->isWindowModified());
  window->Undo();
  EXPECT_FALSE(Model().source_driver[2]);
  EXPECT_EQ(State("ChkGenHWCSource_2"), Qt::Unchecked);
}

}  // namespace
}  // namespace tarn::testing
