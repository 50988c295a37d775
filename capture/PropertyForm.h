#pragma once

#include <QDialog>
#include <QList>

class QPushButton;
class QTabWidget;
class CPropertyPage;

/**
 * @brief The "Property Page" window: one tab per page, "OK", "Close" and "Apply".
 *
 * Each page activated resizes the window so the page gets its preferred size; the buttons keep
 * to the bottom-right corner. "Apply" is enabled by a change on the page on screen and applies
 * only that page.
 */
class CPropertyForm : public QDialog
{
    Q_OBJECT

public:
    explicit CPropertyForm(const QString& title, QWidget* parent = nullptr);

    /** @brief Appends a page as the last tab; the form owns it. Page 0 is activated. */
    void AddPage(CPropertyPage* page);
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    int CurrentPage() const { return m_current; }
    void ActivatePage(int index);
    /** @brief Adds "Reset to camera defaults": every page back to the device's defaults, and
     * written at once. */
    void AddResetButton();

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void OnTabChanged(int index);
    void OnPageChanged();
    void OnApply();
    void OnOk();
    void OnResetDefaults();

private:
    void FitToPage();

    QTabWidget* m_tabs = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_reset = nullptr;
    QList<CPropertyPage*> m_pages;
    int m_current = -1;
};
