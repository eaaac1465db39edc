#ifndef TARN_UI_FILE_CHOOSER_H_
#define TARN_UI_FILE_CHOOSER_H_

#include <QPointer>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <optional>

namespace tarn::ui {

// The kinds of file the window opens and saves; a layout folder is chosen as a folder.
enum class FileKind { kConfiguration, kDefinitions, kLayoutFolder };

// The window's file dialogs; tests hand in their own answers, so they never meet a blocking
// dialog. nullopt means the user cancelled.
class FileChooser {
 public:
  virtual ~FileChooser() = default;
  virtual std::optional<std::filesystem::path> Open(FileKind kind, const QString& title,
                                                    const QString& preset_name) = 0;
  virtual std::optional<std::filesystem::path> Save(FileKind kind, const QString& title,
                                                    const QString& preset_name) = 0;
};

// "Tarn Config Data (*.dat)" or "Tarn Device Definitions (*.def)".
QString FilterOf(FileKind kind);

class DialogFileChooser : public FileChooser {
 public:
  explicit DialogFileChooser(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  std::optional<std::filesystem::path> Open(FileKind kind, const QString& title,
                                            const QString& preset_name) override;
  std::optional<std::filesystem::path> Save(FileKind kind, const QString& title,
                                            const QString& preset_name) override;

 private:
  QPointer<QWidget> parent_;
  QString folder_;  // the folder of the last file chosen, for the next dialog of this run
};

}  // namespace tarn::ui

#endif  // TARN_UI_FILE_CHOOSER_H_
