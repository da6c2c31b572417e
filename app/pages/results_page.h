// The Results page: the result file as text in RE, Courier New, tabs at fixed stops, and a find
// bar under it (Ctrl+F; F3 and Shift+F3 find the next and the previous match, round the end of
// the text; Escape closes the bar).
#pragma once

#include "app/widgets/text_lines.h"

#include <QWidget>
#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class ResultTextView;

class ResultsPage : public QWidget {
    Q_OBJECT
public:
    explicit ResultsPage(QWidget* parent = nullptr);

    // Shows bytes that the table shares; throws std::bad_alloc or std::length_error when
    // memory runs out.
    void ShowBytes(std::shared_ptr<const std::string> bytes);
    void ShowLines(TextLines lines);
    // Once the page is in sight: the tab stops, and the last character selected.
    void SelectEnd();
    void Clear();

    // Opens the find bar with its text selected.
    void OpenFind();
    // The next (or previous) match of the find bar's text.
    void FindNext(bool backward);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildFindBar();
    void CloseFind();

    ResultTextView* RE;
    QWidget* findBar_;
    QLineEdit* findText_;
    QCheckBox* findCase_;
    QLabel* findState_;
};
