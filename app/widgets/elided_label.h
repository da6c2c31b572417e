// A one-line label that never asks for more width than a few characters: text that does not
// fit is cut with an ellipsis, and its tooltip then shows the whole text. text() stays whole.
#pragma once

#include <QLabel>

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(const QString& text, QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    // The text as it is drawn at the present width.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};
