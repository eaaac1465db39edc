#ifndef TARN_CLI_COMMANDS_H_
#define TARN_CLI_COMMANDS_H_

#include <QStringList>

namespace tarn::cli {

// Exit codes every command keeps to.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
// A write sent with --one-way: everything went out, but the Tarn confirmed none of it.
inline constexpr int kExitUnconfirmed = 3;

// Each takes the command line from the command's name on.
int RunSend(const QStringList& arguments);
int RunSimulate(const QStringList& arguments);
int RunPorts(const QStringList& arguments);
int RunRead(const QStringList& arguments);
int RunWrite(const QStringList& arguments);
int RunVerify(const QStringList& arguments);
int RunAspect(const QStringList& arguments);
int RunPwm(const QStringList& arguments);
int RunServo(const QStringList& arguments);
int RunMonitor(const QStringList& arguments);
int RunConvert(const QStringList& arguments);
int RunDiff(const QStringList& arguments);
int RunDevices(const QStringList& arguments);
int RunScan(const QStringList& arguments);
int RunBackup(const QStringList& arguments);
int RunCheck(const QStringList& arguments);
int RunRestore(const QStringList& arguments);

}  // namespace tarn::cli

#endif  // TARN_CLI_COMMANDS_H_
