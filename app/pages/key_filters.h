// The keystroke filters of the numeric edits on the General and Parameters pages: each sets
// key to the null character to discard the keystroke.
#pragma once

class QChar;
class QObject;

// Digits and backspace; the minus sign only in an edit whose name contains "stp".
void eTestParamKeyPress(QObject* sender, QChar& key);
// Digits, backspace and the decimal point.
void Edit_KS_AD_SL_KeyPress(QObject* sender, QChar& key);
