// SPDX-License-Identifier: GPL-3.0-or-later
// The "XML Character Encoding" dialog: an editable list of encodings whose chosen
// entry, up to its first blank, becomes the encoding written into job list files.
// OK accepts only an encoding that job lists can be saved in and read back from.
#pragma once

#include <QDialog>
#include <string>

class QComboBox;

namespace qx {

class TMessageHost;

class TfrmPreferences : public QDialog {
  Q_OBJECT

 public:
  // `messages` says why an encoding is refused; it must outlive the dialog.
  explicit TfrmPreferences(TMessageHost& messages, QWidget* parent = nullptr);
  // OK: closes only when the encoding passes EncodingProblem; otherwise says why.
  void accept() override;

  // Selects the first entry that begins with `encoding`, letter case ignored; with no
  // such entry (or an empty name) selects none and puts the name itself in the field.
  void SelectEncoding(const std::string& encoding);
  // The field's text up to its first blank.
  std::string EncodingSetting() const;

 private:
  TMessageHost& m_messages;
  QComboBox* m_cbXMLEncoding;
};

}  // namespace qx
