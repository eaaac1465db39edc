// tarnconfig: the desktop program.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>

#include "platform/event_loop_clock.h"
#include "platform/qt_serial_port.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tarnconfig"));
  QApplication::setApplicationDisplayName(QStringLiteral("Tarn Config"));
  QApplication::setApplicationVersion(QStringLiteral(TARN_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("org.tarnconfig.TarnConfig"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.tarnconfig.TarnConfig")));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Configures and tests a Tarn accessory controller over a serial line."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption port_option(
      QStringLiteral("port"),
      QStringLiteral("Open this serial port at start: a number of the port list or a device "
                     "path. Without it no port is opened."),
      QStringLiteral("PORT"));
  parser.addOption(port_option);
  parser.process(application);

  tarn::EventLoopClock clock;
  tarn::QtSerialPort port(clock);
  tarn::ui::MainWindow window({.port = port,
                               .clock = clock,
                               .program_folder = QDir(QApplication::applicationDirPath())
                                                     .absolutePath()
                                                     .toStdU16String(),
                               .qt_port = &port,
                               .catalogue = &port});
  window.show();
  window.StartUp();
  if (parser.isSet(port_option)) window.ChoosePort(parser.value(port_option));
  return QApplication::exec();
}
