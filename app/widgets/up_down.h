// An up-down spinner: two arrows and a position in a range, shown in an associated label or
// line edit. Only clicks on the arrows emit Clicked; setting the position from code does not.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(int min, int max, int position, bool wrap, QWidget* parent = nullptr);

    int Min() const { return min_; }
    int Max() const { return max_; }
    // With an associated edit, a number typed there that lies in the range is the position.
    int Position() const;
    bool Wrap() const { return wrap_; }

    // Takes the low 16 bits as a signed number, as the position is a 16-bit value, and keeps
    // the result within Min to Max.
    void SetPosition(int value);

    // The associate shows the position.
    void Associate(QLabel* label);
    void Associate(QLineEdit* edit);

    // What a click on an arrow does.
    void ClickUp();
    void ClickDown();

    QToolButton* UpArrow() const { return up_; }
    QToolButton* DownArrow() const { return down_; }

signals:
    void Clicked();

private:
    void Step(int delta);
    void ShowPosition();

    int min_;
    int max_;
    mutable int position_;
    bool wrap_;
    QLabel* label_ = nullptr;
    QLineEdit* edit_ = nullptr;
    QToolButton* up_;
    QToolButton* down_;
};
