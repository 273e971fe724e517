#pragma once
// The file field of the CSV dialogs: a line edit with "Browse >>" beside
// it. Paths are file-system paths: the field shows them decoded and hands
// them back in the file system's encoding, never as program text.

#include <QWidget>

#include <functional>
#include <string>

class QLineEdit;
class QPushButton;

namespace ui {

class FileField : public QWidget {
  Q_OBJECT
public:
  // browse: runs the chooser and returns the path it left (may be empty).
  FileField(std::function<std::string()> browse, QWidget *parent = nullptr);

  // A field over a dialog model with Browse(), FilePath() and
  // SetFilePath(): it starts with the model's path, and every change goes
  // to the model (a path too long to name a file empties it).
  template <class Model> static FileField *Over(Model &model, QWidget *parent) {
    auto *field = new FileField(
        [&model] {
          model.Browse();
          return model.FilePath();
        },
        parent);
    field->SetPath(model.FilePath());
    QObject::connect(field, &FileField::PathChanged, field, [field, &model] {
      if (!model.SetFilePath(field->Path())) model.SetFilePath({});
    });
    return field;
  }

  QLineEdit *Edit() const { return edit_; }
  QPushButton *BrowseButton() const { return browse_; }
  std::string Path() const;
  void SetPath(const std::string &path);

signals:
  void PathChanged();

private:
  QLineEdit *edit_;
  QPushButton *browse_;
};

} // namespace ui
