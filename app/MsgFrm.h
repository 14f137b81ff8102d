#pragma once

#include <QDialog>

class BForm;
class QLabel;
class iButton;

// The client's own question before the game closes. It is shown modally and answers by writing
// the caller's exit flag: true for "是", false for "否" and for its close button. Closed any
// other way it leaves the flag as it was.
class MsgFrm : public QDialog {
    Q_OBJECT

public:
    static constexpr char QuestionText[] = "窗口即将关闭，确定要退出游戏？";

    explicit MsgFrm(bool &bExit, QWidget *parent = nullptr);

    BForm *BForm1 = nullptr;
    QLabel *Label1 = nullptr;
    iButton *iButton1 = nullptr;
    iButton *iButton2 = nullptr;
    iButton *closebtn = nullptr;

private slots:
    void iButton1_Click();
    void iButton2_Click();
    void closebtn_Click();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void Answer(bool bExit);

    bool &m_bExit;
};
