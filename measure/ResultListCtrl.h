#pragma once

#include "measure/ResultCsv.h"
#include "measure/ResultRow.h"

#include <QDateTime>
#include <QTreeWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The results list of the side panel: one row per measured value, each row carrying the id
// of the label that shows the value on the canvas. Also the Clear and Save commands, which
// work on what the list shows.
class CResultListCtrl : public QTreeWidget
{
    Q_OBJECT
public:
    enum Column { ColNumber = 0, ColType, ColResult, ColUnit };
    static constexpr int kColumnWidths[4] = { 42, 70, 85, 45 };

    // What the list needs from the canvas, the shape manager and the side panel.
    struct CHooks
    {
        std::function<std::vector<CResultRow>()> resultRows; // rebuilds the canvas's row ids too
        std::function<void(uint32_t)> removeByRowId;
        std::function<void()> removeAll;
        std::function<void(uint32_t, bool)> highlightByRowId;
        // A clicked row takes its shape in hand; rows of the shape in hand show selected.
        std::function<void(uint32_t)> selectByRowId;
        std::function<bool(uint32_t)> rowSelected;
        // Tool mode 13, release counter reset, tool buttons un-marked, CancelUnfinished.
        std::function<void()> cancelTool;
        std::function<void()> invalidateCanvas;
        std::function<QString()> measureFolder; // the m_strMeasurePath setting
        // The file's closing line naming the scale the results are in ("# scale: ...").
        std::function<QString()> scaleLine;
    };

    explicit CResultListCtrl(QWidget* parent = nullptr);
    void SetHooks(CHooks hooks) { m_hooks = std::move(hooks); }

    // Rebuilds the rows and the row ids together.
    void FillResultList(const std::vector<CResultRow>& rows);
    // FillResultList with the rows the engine reports now.
    void Refill();
    const std::vector<uint32_t>& RowIds() const { return m_rowIds; }
    std::vector<CResultCsv::Row> Cells() const;

    // The side panel's "Clear" command: the selected row's shape, or after asking everything.
    void OnClear();
    // The side panel's "SaveCsv" command. Returns true when a file was written.
    bool OnSaveCsv();

    // Replaceable for tests: the save dialog (given the proposed path, returns the chosen one
    // or empty for Cancel) and the clock.
    void SetSaveFileChooser(std::function<QString(const QString& proposed)> chooser)
    {
        m_chooseFile = std::move(chooser);
    }
    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Every column at least its report width and as wide as its heading and texts need.
    void FitColumns();
    void OnRowClick();
    int FirstSelectedRow() const;
    bool Ask(const QString& text, const QString& caption);
    void Message(const QString& text);
    QString ChooseFile(const QString& proposed);

    CHooks m_hooks;
    std::vector<uint32_t> m_rowIds;
    std::optional<uint32_t> m_highlighted;
    std::function<QString(const QString&)> m_chooseFile;
    std::function<QDateTime()> m_clock;
};
