#include "imgproc/ParticleSplitter.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

namespace {

// Floods joined while rising: each keeps the depth of its deepest pixel.
class CFloods
{
public:
    int Add(float peak)
    {
        m_parent.push_back(int(m_parent.size()));
        m_peak.push_back(peak);
        return m_parent.back();
    }
    int Find(int flood)
    {
        while (m_parent[flood] != flood) {
            m_parent[flood] = m_parent[m_parent[flood]];
            flood = m_parent[flood];
        }
        return flood;
    }
    float Peak(int flood) const { return m_peak[flood]; }
    void Join(int into, int from) { m_parent[from] = into; }
    int Count() const { return int(m_parent.size()); }

private:
    std::vector<int> m_parent;
    std::vector<float> m_peak;
};

// Distances in sixteenths of a pixel: a bucket sort instead of sorting every pixel.
constexpr float kSteps = 16.0f;

} // namespace

int CParticleSplitter::Split(const cv::Mat& mask, cv::Mat& labels, double minDepth)
{
    CV_Assert(mask.type() == CV_8UC1);
    const int width = mask.cols;
    const int height = mask.rows;
    labels = cv::Mat::zeros(height, width, CV_32S);
    if (width == 0 || height == 0)
        return 0;
    // A frame of background round the picture, so an object cut by the edge is split by the
    // shape it shows.
    cv::Mat framed;
    cv::copyMakeBorder(mask, framed, 1, 1, 1, 1, cv::BORDER_CONSTANT, 0);
    cv::Mat inside = framed != 0;
    cv::Mat distance;
    cv::distanceTransform(inside, distance, cv::DIST_L2, cv::DIST_MASK_PRECISE);

    std::vector<std::vector<int>> buckets;
    for (int y = 0; y < height; ++y) {
        const float* row = distance.ptr<float>(y + 1) + 1;
        for (int x = 0; x < width; ++x) {
            if (row[x] <= 0.0f)
                continue;
            const size_t step = size_t(row[x] * kSteps);
            if (step >= buckets.size())
                buckets.resize(step + 1);
            buckets[step].push_back(y * width + x);
        }
    }

    std::vector<int> flood(size_t(width) * height, -1);
    CFloods floods;
    int roots[8];
    for (size_t step = buckets.size(); step-- > 0;) {
        for (const int index : buckets[step]) {
            const int x = index % width;
            const int y = index / width;
            const float depth = distance.at<float>(y + 1, x + 1);
            int found = 0;
            int uphill = -1; // the flood of the deepest neighbour: the pixel follows the slope
            float uphillDepth = -1.0f;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    if ((dx == 0 && dy == 0) || nx < 0 || ny < 0 || nx >= width || ny >= height)
                        continue;
                    const int other = flood[size_t(ny) * width + nx];
                    if (other < 0)
                        continue;
                    const int root = floods.Find(other);
                    if (std::find(roots, roots + found, root) == roots + found)
                        roots[found++] = root;
                    const float neighbourDepth = distance.at<float>(ny + 1, nx + 1);
                    if (neighbourDepth > uphillDepth) {
                        uphillDepth = neighbourDepth;
                        uphill = root;
                    }
                }
            }
            if (found == 0) {
                flood[index] = floods.Add(depth);
                continue;
            }
            // A flood that rose less than minDepth above this pixel is a bump of the deepest
            // flood it meets here, not an object of its own.
            int deepest = roots[0];
            for (int i = 1; i < found; ++i) {
                if (floods.Peak(roots[i]) > floods.Peak(deepest))
                    deepest = roots[i];
            }
            for (int i = 0; i < found; ++i) {
                if (roots[i] != deepest && floods.Peak(roots[i]) - depth < minDepth) {
                    floods.Join(deepest, roots[i]);
                    if (uphill == roots[i])
                        uphill = deepest;
                }
            }
            flood[index] = uphill;
        }
    }

    // Number the parts in row order of their first pixel.
    std::vector<int> number(size_t(floods.Count()), 0);
    int parts = 0;
    for (int y = 0; y < height; ++y) {
        int32_t* row = labels.ptr<int32_t>(y);
        for (int x = 0; x < width; ++x) {
            const int f = flood[size_t(y) * width + x];
            if (f < 0)
                continue;
            const int root = floods.Find(f);
            if (number[root] == 0)
                number[root] = ++parts;
            row[x] = number[root];
        }
    }
    return parts;
}
