#include <opencv2/core/utility.hpp>

#include <gtest/gtest.h>

// OpenCV's parallel loops run on TBB worker threads, whose synchronisation ThreadSanitizer
// cannot see: every hand-over of a loop body would be reported as a race. Sanitized test runs
// therefore keep OpenCV on the calling thread; the program's own threads stay as they are.
namespace {

class SerialOpenCv : public testing::Environment
{
public:
    void SetUp() override
    {
#if defined(__SANITIZE_THREAD__)
        cv::setNumThreads(0);
#endif
    }
};

const testing::Environment* const kSerialOpenCv
        = testing::AddGlobalTestEnvironment(new SerialOpenCv);

} // namespace
