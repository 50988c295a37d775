<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CFuseCommand</name>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="98"/>
        <source>-o needs an output file.</source>
        <translation>-o 需要指定输出文件。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="104"/>
        <source>--depth-map needs an output file.</source>
        <translation>--depth-map 需要指定输出文件。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="120"/>
        <source>Unknown option &quot;%1&quot;.</source>
        <translation>未知选项“%1”。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="132"/>
        <source>No output file: give -o OUT.jpg or -o OUT.bmp.</source>
        <translation>没有输出文件：请指定 -o 输出.jpg 或 -o 输出.bmp。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="142"/>
        <source>The output file must end in .jpg or .bmp: %1</source>
        <translation>输出文件的扩展名必须是 .jpg 或 .bmp：%1</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="149"/>
        <source>--depth-map needs the aligned mode.</source>
        <translation>--depth-map 需要 aligned 模式。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="153"/>
        <source>Need at least 2 input images, got %1.</source>
        <translation>至少需要 2 张输入图像，实际为 %1 张。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="158"/>
        <source>At most %1 input images, got %2.</source>
        <translation>最多 %1 张输入图像，实际为 %2 张。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="195"/>
        <source>not a BMP or JPEG picture</source>
        <translation>不是 BMP 或 JPEG 图像</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="262"/>
        <source>Cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="269"/>
        <source>%1 is %2 x %3, but %4 is %5 x %6: every image must have the same size.</source>
        <translation>%1 为 %2 x %3，而 %4 为 %5 x %6：所有图像必须尺寸相同。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="283"/>
        <source>Decoded %1 images in %2 s</source>
        <translation>已解码 %1 张图像，用时 %2 秒</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="299"/>
        <source>Pair %1-%2: %3</source>
        <translation>图像对 %1-%2：%3</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="306"/>
        <source>Pair %1-%2: %3 matches, %4 kept; %5</source>
        <translation>图像对 %1-%2：%3 个匹配，保留 %4 个；%5</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="322"/>
        <location filename="../../imgproc/FuseCommand.cpp" line="334"/>
        <location filename="../../imgproc/FuseCommand.cpp" line="344"/>
        <source>The fusion failed.</source>
        <translation>图像融合失败。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="327"/>
        <source>Fused in %1 s</source>
        <translation>融合用时 %1 秒</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="240"/>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="26"/>
        <source>Usage: kalvex --fuse direct|adjusted|aligned -o OUT.jpg|OUT.bmp [--depth-map DEPTH.jpg|DEPTH.bmp] [--verbose] IN...</source>
        <translation>用法：kalvex --fuse direct|adjusted|aligned -o 输出.jpg|输出.bmp [--depth-map 深度.jpg|深度.bmp] [--verbose] 输入...</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="78"/>
        <location filename="../../imgproc/FuseCommand.cpp" line="127"/>
        <source>--fuse needs a mode: direct, adjusted or aligned.</source>
        <translation>--fuse 需要指定模式：direct、adjusted 或 aligned。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="90"/>
        <source>Unknown fusion mode &quot;%1&quot;: use direct, adjusted or aligned.</source>
        <translation>未知的融合模式“%1”：请使用 direct、adjusted 或 aligned。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="352"/>
        <source>Wrote %1 in %2 s in all</source>
        <translation>已写入 %1，共用时 %2 秒</translation>
    </message>
</context>
<context>
    <name>CImageCompareDlg</name>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="50"/>
        <source>Image comparing</source>
        <translation>图像比较</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="53"/>
        <source>Get image from video source</source>
        <translation>从视频源获取图像</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="55"/>
        <source>Capture</source>
        <translation>抓取</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="57"/>
        <source>Get image from storage</source>
        <translation>从存储获取图像</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="59"/>
        <location filename="../../tools/ImageCompareDlg.cpp" line="104"/>
        <source>Load</source>
        <translation>加载</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="73"/>
        <source>video</source>
        <translation>视频</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="74"/>
        <source>image</source>
        <translation>图像</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="105"/>
        <source>Image files (%1)</source>
        <translation>图像文件 (%1)</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="114"/>
        <source>%1 cannot be read as a picture.</source>
        <translation>无法将 %1 作为图像读取。</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="115"/>
        <source>%1 cannot be read as a picture: %2</source>
        <translation>无法将 %1 作为图像读取：%2</translation>
    </message>
</context>
<context>
    <name>CImageMergeDlg</name>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="80"/>
        <source>Image Merge</source>
        <translation>图像合成</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="90"/>
        <source>....</source>
        <translation>....</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="91"/>
        <source>Video</source>
        <translation>视频</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="93"/>
        <source>List</source>
        <translation>列表</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="94"/>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="178"/>
        <source>Start video</source>
        <translation>开始视频</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="180"/>
        <source>Capture image</source>
        <translation>抓取图像</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="182"/>
        <location filename="../../merge/ImageMergeDlg.cpp" line="429"/>
        <source>Open image</source>
        <translation>打开图像</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="185"/>
        <source>Fit in</source>
        <translation>Fit in</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="185"/>
        <source>X 1</source>
        <translation>X 1</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="185"/>
        <source>X 2</source>
        <translation>X 2</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="185"/>
        <source>X 3</source>
        <translation>X 3</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="188"/>
        <source>Fuse images</source>
        <translation>融合图像</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="190"/>
        <source>Save result</source>
        <translation>保存结果</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="192"/>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="195"/>
        <source>Adjusted Merge</source>
        <translation>Adjusted Merge</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="195"/>
        <source>Direct Merge</source>
        <translation>Direct Merge</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="195"/>
        <source>Aligned Merge</source>
        <translation>Aligned Merge</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="386"/>
        <source>Please preview video first!</source>
        <translation>Please preview video first!</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="397"/>
        <source>No picture came from the camera.</source>
        <translation>摄像头没有送来图像。</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="406"/>
        <source>The captured picture could not be saved to %1: %2</source>
        <translation>抓取的图像无法保存到 %1：%2</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="421"/>
        <source>Only support 20 images, please remove one image from list and try once again.</source>
        <translation>Only support 20 images, please remove one image from list and try once again.</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="430"/>
        <source>Image files (%1)</source>
        <translation>图像文件 (%1)</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="439"/>
        <location filename="../../merge/ImageMergeDlg.cpp" line="604"/>
        <source>%1 cannot be read as a picture.</source>
        <translation>无法将 %1 作为图像读取。</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="440"/>
        <location filename="../../merge/ImageMergeDlg.cpp" line="605"/>
        <source>%1 cannot be read as a picture: %2</source>
        <translation>无法将 %1 作为图像读取：%2</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="460"/>
        <source>Need 2 images to do the fusion function.</source>
        <translation>Need 2 images to do the fusion function.</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="466"/>
        <source>Error.Make sure every image has same size.</source>
        <translation>Error.Make sure every image has same size.</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="484"/>
        <source>Fusing %1 images...</source>
        <translation>正在融合 %1 张图像...</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="484"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="512"/>
        <source>Aligning images %1 and %2 of %3</source>
        <translation>正在对齐第 %1 和第 %2 张图像（共 %3 张）</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="516"/>
        <source>Image %1 of %2</source>
        <translation>第 %1 张图像（共 %2 张）</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="533"/>
        <source>The fusion failed; the previous result is kept.</source>
        <translation>图像融合失败，保留上一次的结果。</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="553"/>
        <source>The merged picture could not be saved to %1: %2</source>
        <translation>合成的图像无法保存到 %1：%2</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="557"/>
        <source>File path: %1</source>
        <translation>File path: %1</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="558"/>
        <source>Image saved successfully</source>
        <translation>Image saved successfully</translation>
    </message>
</context>
</TS>
