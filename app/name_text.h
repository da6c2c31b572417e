// File names and result file lines are bytes; these show them and keep a shown name's bytes.
#pragma once

#include <QString>
#include <string>
#include <string_view>

class QLineEdit;

// The bytes as the window shows them: UTF-8 where valid, other bytes as Latin-1 characters.
QString DisplayText(std::string_view bytes);

// Shows a name in the edit and keeps its bytes there while the text stays as shown, so that a
// name that is not UTF-8 is saved, passed on and looked up byte for byte.
void ShowNameBytes(QLineEdit* edit, std::string_view bytes);
// The kept bytes while the edit's text is still what they were shown as; otherwise the text
// in UTF-8.
std::string NameBytes(const QLineEdit* edit);
