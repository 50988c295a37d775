#pragma once

#include <QWidget>

#include <vector>

// A bar chart of how many objects fall in each size class (equivalent diameter).
class CSizeHistogram : public QWidget
{
    Q_OBJECT
public:
    explicit CSizeHistogram(QWidget* parent = nullptr);

    void SetSizes(const std::vector<double>& sizes, const QString& unit);
    const std::vector<int>& Bins() const { return m_bins; }

    // Counts per class of `classes` equal classes from the smallest size to the largest (one
    // class when all are equal); low and high receive that range.
    static std::vector<int> Classify(
            const std::vector<double>& sizes, int classes, double& low, double& high);
    static constexpr int kClasses = 16;

    QSize sizeHint() const override { return { 320, 120 }; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<int> m_bins;
    double m_low = 0.0;
    double m_high = 0.0;
    QString m_unit;
};
