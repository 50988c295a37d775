#pragma once

#include "measure/CrossLine.h"

#include <QDialog>

class CCrossLineHost;
class CColorButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

// The "Cross line" dialog. It edits the host's list in place: every change is applied and
// redrawn at once, and closing keeps everything.
class CCrossLineDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CCrossLineDlg(CCrossLineHost& host, QWidget* parent = nullptr);

    static constexpr int kMinSize = 1;
    static constexpr int kMaxSize = CCrossLine::kMaxSize;

private slots:
    void OnAdd();
    void OnSub();
    void OnSelChange(int row);
    void OnShowLine();
    void OnColor(uint32_t colour);
    void OnType(int index);
    void OnXChanged(const QString& text);
    void OnYChanged(const QString& text);
    void OnSizeChanged(int size);

private:
    void connectSignals();
    int Selected() const;
    // Shows record index in the controls without writing anything back.
    void ShowRecord(int index);
    void ShowTypeFor(int size, int type);
    void Store(int index, const CCrossLine& line);
    QString RealText(int pixels, double scale) const;

    CCrossLineHost& m_host;
    bool m_bShowing = false;

    QListWidget* m_list = nullptr;
    QCheckBox* m_show = nullptr;
    QLineEdit* m_x = nullptr;
    QLineEdit* m_y = nullptr;
    QLineEdit* m_realX = nullptr;
    QLineEdit* m_realY = nullptr;
    QComboBox* m_type = nullptr;
    QSpinBox* m_size = nullptr;
    CColorButton* m_colour = nullptr;
};
