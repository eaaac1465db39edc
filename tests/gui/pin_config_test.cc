// The pin configuration tabs through their widgets, on the simulated Tarn: the tab rules, the
// four pin configuration buttons and the live PWM and servo controls.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <functional>

#include "gui/window_fixture.h"
#include "ui/pin_config_tabs.h"
#include "ui/widgets/up_down.h"

namespace tarn::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using namespace Qt::StringLiterals;

PinConfig Config(std::initializer_list<std::uint8_t> bytes) {
  PinConfig config{};
  std::copy(bytes.begin(), bytes.end(), config.begin());
  return config;
}

PinConfig With(PinConfig config, int byte, std::uint8_t value) {
  config[byte] = value;
  return config;
}

// What choosing "Servo" gives a pin.
PinConfig DefaultServo() { return Config({1, 64, 0, 64, 127, 58, 127, 127, 64, 0, 64, 0}); }

class PinConfigTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    prompter.answers = {PromptAnswer::kYes};
    window->AskExpertMode();
    Find<QTabWidget>(QStringLiteral("SSTab_Main"))->setCurrentIndex(2);
    // "Show Details" is the aspect editor's; the tabs are asked to show as it would ask them.
    window->findChild<ui::PinConfigTabs*>()->ApplyVisibility(true);
    TakeMessages();
  }

  PinRecord& Pin(int pin) { return window->workspace().config.pins[pin]; }

  // The editor's pin change, as the window routes it.
  void ShowPin(int pin, const PinConfig& config, std::uint8_t live_value = 0) {
    window->workspace().config.current_pin = static_cast<std::uint8_t>(pin);
    Pin(pin).pin_config = config;
    Pin(pin).live_value = live_value;
    window->Redraw({Refresh::kPinConfiguration});
  }

  // A user's click on a tab of SSTabPCFG, the one shown included.
  void ChooseTab(int index) {
    QTabBar* bar = Find<QTabWidget>(QStringLiteral("SSTabPCFG"))->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  }

  int ShownTab() { return Find<QTabWidget>(QStringLiteral("SSTabPCFG"))->currentIndex(); }
  bool Checked(const QString& name) { return Button(name)->isChecked(); }
  QSlider* Slider(const QString& name) { return Find<QSlider>(name); }
  void StepDown(const QString& name) {
    QTest::mouseClick(Find<ui::UpDown>(name)->down(), Qt::LeftButton);
  }
};

TEST_F(PinConfigTest, TabRulesThroughTheWidgets) {
  const PinConfig servo = DefaultServo();
  const PinConfig pwm = Config({2, 0, 0, 28, 0, 31});
  const struct {
    const char* what;
    PinConfig start;
    std::function<void()> act;
    PinConfig stored;
    std::uint8_t live;  // the pin starts at 77
    int tab;
    const char* field;  // a field and the text it shows afterwards
    const char* text;
  } cases[] = {
      {"initial position below range", servo, [this] { Type(u"TextSrvInitPos"_s, u"-70"_s); },
       With(servo, 1, 0), 77, 1, "TextSrvInitPos", "-64"},
      {"initial position above range", servo, [this] { Type(u"TextSrvInitPos"_s, u"80"_s); },
       With(servo, 1, 127), 77, 1, "TextSrvInitPos", "63"},
      {"bounce up typed 5", servo, [this] { Type(u"TextBounceUp"_s, u"5"_s); }, With(servo, 10, 64),
       77, 1, "TextBounceUp", "0"},
      {"bounce up typed -63", servo, [this] { Type(u"TextBounceUp"_s, u"-63"_s); },
       With(servo, 10, 1), 77, 1, "TextBounceUp", "-63"},
      {"max speed typed 0", servo, [this] { Type(u"TextSrvMaxSpd"_s, u"0"_s); }, With(servo, 6, 1),
       77, 1, "TextSrvMaxSpd", "1"},
      {"max acceleration stepped to 0", With(servo, 7, 1),
       [this] { StepDown(u"UpDownMaxAccel"_s); }, With(servo, 7, 0), 77, 1, "TextSrvMaxAccel", "0"},
      {"off-delay typed as text", Config({4, 0, 0, 9, 9}),
       [this] { Type(u"TextInputDelay_0"_s, u"abc"_s); }, Config({4, 0, 0, 0, 9}), 77, 3,
       "TextInputDelay_0", "0"},
      {"auto suspend drops Servo Initialised", With(servo, 2, 0x40 + 8 + 2),
       [this] {
         EXPECT_TRUE(Checked(u"ChkSrvInitialised"_s));
         Click(u"ChkSrvAutoSuspend"_s);
         EXPECT_FALSE(Checked(u"ChkSrvInitialised"_s));
       },
       With(servo, 2, 26), 77, 1, nullptr, nullptr},
      {"range L keeps Suspended", With(servo, 2, 0x20 + 8 + 1),
       [this] { Click(u"OptionServoRange_3"_s); }, With(servo, 2, 43), 77, 1, nullptr, nullptr},
      {"logaritmic drive mode", With(pwm, 2, 3), [this] { Click(u"OptionPWMDriveMode_0"_s); },
       With(pwm, 2, 2), 77, 2, nullptr, nullptr},
      {"inverted", pwm, [this] { Click(u"CheckPWMInverted"_s); }, With(pwm, 0, 3), 77, 2, nullptr,
       nullptr},
      {"low active off", Config({5, 0, 0, 4, 4}), [this] { Click(u"CheckInputInvert"_s); },
       Config({4, 0, 0, 4, 4}), 77, 3, nullptr, nullptr},
      {"PWM on an inverted PWM pin", Config({3, 5, 1, 9, 2, 30}), [this] { ChooseTab(2); },
       Config({3, 5, 1, 9, 2, 30}), 77, 2, "TextPWMInitLevel", "5"},
      {"Input on a PWM pin", Config({2, 5, 1, 9, 2, 30}), [this] { ChooseTab(3); },
       Config({5, 0, 0, 4, 4}), 0, 3, "TextInputDelay_1", "4"},
      {"Clear on a servo pin", servo, [this] { ChooseTab(0); }, PinConfig{}, 0, 0, nullptr,
       nullptr},
      {"Servo on a pin not configured", PinConfig{}, [this] { ChooseTab(1); }, servo, 64, 1,
       "TextPosition", "0"},
      {"a pin of unknown mode takes the defaults of the tab it finds", Config({9, 1, 2}),
       [this] { ChooseTab(2); }, pwm, 0, 2, "TextPWMOnLevel", "31"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ShowPin(0, pwm);  // the PWM tab shows before each case
    ShowPin(7, c.start, 77);
    TakeMessages();
    c.act();
    EXPECT_EQ(Pin(7).pin_config, c.stored);
    EXPECT_EQ(Pin(7).live_value, c.live);
    EXPECT_EQ(ShownTab(), c.tab);
    if (c.field != nullptr) {
      EXPECT_EQ(Text(QString::fromLatin1(c.field)), QString::fromLatin1(c.text));
    }
  }
}

TEST_F(PinConfigTest, HardwareWarningFollowsTheDriversOfThePinsGroup) {
  auto* servo_warning = Find<QLabel>(u"LabelSrvHWCWarning"_s);
  auto* input_warning = Find<QLabel>(u"LabelInputHWCWarning"_s);
  ASSERT_EQ(servo_warning->text(), u"Warning: Hardware Configuration Mismatch"_s);
  ShowPin(13, DefaultServo());
  EXPECT_TRUE(servo_warning->isHidden());

  // The Sink box of group 1 (pins 8..15) changes; the general tab asks for the redraw.
  window->Edit("Sink",
               [this] { window->workspace().config.general_settings.sink_driver[1] = true; });
  window->Redraw({Refresh::kPinConfiguration});
  EXPECT_TRUE(servo_warning->isVisibleTo(window.get()));
  ShowPin(13, Config({4, 0, 0, 4, 4}));
  EXPECT_TRUE(input_warning->isVisibleTo(window.get()));
  ShowPin(16, DefaultServo());  // group 2 has no driver
  EXPECT_TRUE(servo_warning->isHidden());
}

TEST_F(PinConfigTest, UnknownModeSaysSoAndLeavesTheTabAsItWas) {
  ShowPin(2, Config({4, 0, 0, 7, 8}));
  ShowPin(3, Config({9, 1, 2, 3}));
  EXPECT_THAT(TakeMessages(), ElementsAre("Unknown configuration: 9"));
  EXPECT_EQ(ShownTab(), 3);
  EXPECT_EQ(Text(u"TextInputDelay_0"_s), u"7"_s);
  // A field of the tab it found takes nothing from the pin it does not describe.
  Type(u"TextInputDelay_0"_s, u"5"_s);
  EXPECT_EQ(Pin(3).pin_config, Config({9, 1, 2, 3}));
}

TEST_F(PinConfigTest, WritePinConfigTakesOverTheTypedFieldsAndTheTarnHoldsTheBytes) {
  ShowPin(4, With(DefaultServo(), 2, 0x40 + 0x20 + 8 + 2));
  // Typed but not yet confirmed: the button takes it over.
  for (const auto& [name, typed] : {std::pair{u"TextSrvMaxSpd"_s, u"50"_s}, {u"TextMidpoint"_s, u"-80"_s}}) {
    auto* field = Find<QLineEdit>(name);
    field->setText(typed);
    field->setModified(true);  // as typing leaves it
  }
  Click(u"CommandSetPinConfig_1"_s);

  const PinConfig sent = Config({1, 64, 0x2A, 0, 127, 58, 50, 127, 64, 0, 64, 0});
  EXPECT_EQ(Pin(4).pin_config, sent) << "Servo Initialised is not sent, nor kept";
  EXPECT_EQ(tarn.memory().pins[4].config, sent);
  EXPECT_EQ(Text(u"TextMidpoint"_s), u"-64"_s);
  EXPECT_FALSE(Checked(u"ChkSrvInitialised"_s));
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(PinConfigTest, ReadAndGetPinConfigShowWhatTheTarnHolds) {
  tarn.memory().pins[6].config = {3, 12, 1, 20, 2, 29};
  tarn.memory().pins[6].live_value = 7;
  ShowPin(6, PinConfig{});
  Click(u"CommandGetPinConfig_1"_s);  // "Read Pin Config"
  EXPECT_EQ(ShownTab(), 2);
  EXPECT_EQ(Text(u"TextPWMInitLevel"_s), u"12"_s);
  EXPECT_EQ(Text(u"TextPWMAccel"_s), u"20"_s);
  EXPECT_EQ(Text(u"TextPWMOnLevel"_s), u"29"_s);
  EXPECT_TRUE(Checked(u"CheckPWMInverted"_s));
  EXPECT_TRUE(Checked(u"OptionPWMDriveMode_1"_s));
  EXPECT_TRUE(Checked(u"OptionPWMAccelMode_0"_s));
  EXPECT_EQ(Text(u"TextPWMLevel"_s), u"0"_s);

  // "Get Pin Config" answers with the live level where the initial level was.
  Click(u"CommandGetPinConfig_0"_s);
  EXPECT_EQ(Text(u"TextPWMLevel"_s), u"7"_s);
  EXPECT_EQ(Slider(u"SliderPWM"_s)->value(), 7);
  EXPECT_EQ(Text(u"TextPWMInitLevel"_s), u"12"_s);
  EXPECT_EQ(Pin(6).pin_config[1], 12);
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(PinConfigTest, SliderSendsOnlyWithTheFocusAndEndsOnTheLastValue) {
  ShowPin(5, Config({2, 0, 0, 28, 0, 31}));
  QSlider* slider = Slider(u"SliderPWM"_s);
  slider->setValue(9);  // a wheel over a slider without the focus
  QCoreApplication::processEvents();
  EXPECT_THAT(tarn.live_messages(), IsEmpty());
  EXPECT_EQ(Text(u"TextPWMLevel"_s), u"9"_s);

  QApplication::setActiveWindow(window.get());
  slider->setFocus();
  ASSERT_TRUE(slider->hasFocus());
  // A drag faster than the line: the moves made while one waits go as one, the newest.
  for (int value : {10, 15, 22}) slider->setValue(value);
  QCoreApplication::processEvents();
  slider->setValue(23);
  QCoreApplication::processEvents();
  EXPECT_THAT(tarn.live_messages(), ElementsAre(Bytes{0, 38, 5, 22}, Bytes{0, 38, 5, 23}));
  EXPECT_EQ(Text(u"TextPWMLevel"_s), u"23"_s);
  EXPECT_EQ(Pin(5).live_value, 23);
  EXPECT_EQ(tarn.memory().pins[5].live_value, 23);

  // A move made while another exchange has the line (a monitor poll) goes once the line is free.
  window->BackgroundExchange([&] {
    slider->setValue(24);
    QCoreApplication::processEvents();
    return true;
  });
  EXPECT_EQ(tarn.live_messages().size(), 2u);
  EXPECT_TRUE(QTest::qWaitFor([&] { return tarn.live_messages().size() == 3; }, 2000));
  EXPECT_EQ(tarn.live_messages().back(), (Bytes{0, 38, 5, 24}));

  // A double click on the initial level takes the live level over.
  QTest::mouseDClick(Find<QLineEdit>(u"TextPWMInitLevel"_s), Qt::LeftButton);
  EXPECT_EQ(Pin(5).pin_config[1], 24);
  EXPECT_EQ(Text(u"TextPWMInitLevel"_s), u"24"_s);
}

TEST_F(PinConfigTest, SendButtonClampsSendsAndWritesBack) {
  const struct {
    PinConfig config;
    const char* field;
    const char* typed;
    const char* send;
    const char* gradual;
    const char* slider;
    const char* shown;
    Bytes sent;
  } cases[] = {
      {Config({2, 0, 0, 28, 0, 31}),
       "TextPWMLevel",
       "40",
       "CommandPWMLevel",
       nullptr,
       "SliderPWM",
       "31",
       {0, 38, 8, 31}},
      {DefaultServo(),
       "TextPosition",
       "-100",
       "CommandSrvLevel",
       "CheckSrvDynamic",
       "SliderServo",
       "-64",
       {0, 55, 8, 0}},
  };
  for (const auto& c : cases) {
    ShowPin(8, c.config);
    if (c.gradual != nullptr) Click(QString::fromLatin1(c.gradual));
    Find<QLineEdit>(QString::fromLatin1(c.field))->setText(QString::fromLatin1(c.typed));
    const std::size_t before = tarn.live_messages().size();
    Click(QString::fromLatin1(c.send));
    ASSERT_EQ(tarn.live_messages().size(), before + 1);
    EXPECT_EQ(tarn.live_messages().back(), c.sent);
    EXPECT_EQ(Text(QString::fromLatin1(c.field)), QString::fromLatin1(c.shown));
    EXPECT_EQ(Slider(QString::fromLatin1(c.slider))->value(), QString::fromLatin1(c.shown).toInt());
  }
  // "Jump" sends the level at once, whatever "Dynamic" says.
  Click(u"CommandStopSrv"_s);
  EXPECT_EQ(tarn.live_messages().back(), (Bytes{0, 39, 8, 0}));
  EXPECT_EQ(Button(u"CommandSrvLevel"_s)->accessibleName(), u"Send servo position"_s);
}

TEST_F(PinConfigTest, InitialLevelStoresAsItIsTypedWithinItsRange) {
  ShowPin(1, Config({2, 6, 0, 28, 0, 31}), 17);
  auto* field = Find<QLineEdit>(u"TextPWMInitLevel"_s);
  field->setFocus();
  field->selectAll();
  QTest::keyClick(field, Qt::Key_2);
  EXPECT_EQ(Pin(1).pin_config[1], 2);
  QTest::keyClick(field, Qt::Key_5);
  EXPECT_EQ(Pin(1).pin_config[1], 25);
  QTest::keyClick(field, Qt::Key_0);  // 250 waits for the confirmation
  EXPECT_EQ(Pin(1).pin_config[1], 25);
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(Pin(1).pin_config[1], 31);
  // The caption takes the live level over too.
  Click(u"LabelTextPWMInitLevel"_s);
  EXPECT_EQ(Pin(1).pin_config[1], 17);
  EXPECT_EQ(field->text(), u"17"_s);
}

}  // namespace
}  // namespace tarn::testing
