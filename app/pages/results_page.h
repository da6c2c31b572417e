// The Results page: the result file as text in RE, Courier New, tabs at fixed stops.
#pragma once

#include "app/widgets/text_lines.h"

#include <QWidget>
#include <memory>
#include <string>

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

private:
    ResultTextView* RE;
};
