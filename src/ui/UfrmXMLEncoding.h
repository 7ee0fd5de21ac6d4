// The "XML Character Encoding" dialog: an editable list of encodings whose chosen
// entry, up to its first blank, becomes the encoding written into job list files.
#pragma once

#include <QDialog>
#include <string>

class QComboBox;

namespace qx {

class TfrmPreferences : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmPreferences(QWidget* parent = nullptr);

  // Selects the first entry that begins with `encoding`, letter case ignored; with no
  // such entry (or an empty name) selects none and puts the name itself in the field.
  void SelectEncoding(const std::string& encoding);
  // The field's text up to its first blank.
  std::string EncodingSetting() const;

 private:
  QComboBox* m_cbXMLEncoding;
};

}  // namespace qx
