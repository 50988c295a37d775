<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CFuseCommand</name>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="120"/>
        <source>-o needs an output file.</source>
        <translation>-o 需要指定输出文件。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="126"/>
        <source>--depth-map needs an output file.</source>
        <translation>--depth-map 需要指定输出文件。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="142"/>
        <source>Unknown option &quot;%1&quot;.</source>
        <translation>未知选项“%1”。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="154"/>
        <source>No output file: give -o OUT.jpg or -o OUT.bmp.</source>
        <translation>没有输出文件：请指定 -o 输出.jpg 或 -o 输出.bmp。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="164"/>
        <source>The output file must end in .jpg or .bmp: %1</source>
        <translation>输出文件的扩展名必须是 .jpg 或 .bmp：%1</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="171"/>
        <source>--depth-map needs the aligned mode.</source>
        <translation>--depth-map 需要 aligned 模式。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="175"/>
        <source>Need at least 2 input images, got %1.</source>
        <translation>至少需要 2 张输入图像，实际为 %1 张。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="185"/>
        <source>%1 is one of the input images: choose another output file.</source>
        <translation>%1 是输入图像之一：请选择另一个输出文件。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="193"/>
        <source>The depth map and the fused picture need two different files.</source>
        <translation>深度图和融合图像需要两个不同的文件。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="198"/>
        <source>At most %1 input images, got %2.</source>
        <translation>最多 %1 张输入图像，实际为 %2 张。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="235"/>
        <source>not a BMP or JPEG picture</source>
        <translation>不是 BMP 或 JPEG 图像</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="302"/>
        <source>Cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="309"/>
        <source>%1 is %2 x %3, but %4 is %5 x %6: every image must have the same size.</source>
        <translation>%1 为 %2 x %3，而 %4 为 %5 x %6：所有图像必须尺寸相同。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="323"/>
        <source>Decoded %1 images in %2 s</source>
        <translation>已解码 %1 张图像，用时 %2 秒</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="349"/>
        <source>Pair %1-%2: %3</source>
        <translation>图像对 %1-%2：%3</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="356"/>
        <source>Pair %1-%2: %3 matches, %4 kept; %5</source>
        <translation>图像对 %1-%2：%3 个匹配，保留 %4 个；%5</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="372"/>
        <location filename="../../imgproc/FuseCommand.cpp" line="386"/>
        <location filename="../../imgproc/FuseCommand.cpp" line="396"/>
        <source>The fusion failed.</source>
        <translation>图像融合失败。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="379"/>
        <source>Fused in %1 s</source>
        <translation>融合用时 %1 秒</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="280"/>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="30"/>
        <source>Usage: kalvex --fuse direct|adjusted|aligned -o OUT.jpg|OUT.bmp [--depth-map DEPTH.jpg|DEPTH.bmp] [--verbose] IN...</source>
        <translation>用法：kalvex --fuse direct|adjusted|aligned -o 输出.jpg|输出.bmp [--depth-map 深度.jpg|深度.bmp] [--verbose] 输入...</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="100"/>
        <location filename="../../imgproc/FuseCommand.cpp" line="149"/>
        <source>--fuse needs a mode: direct, adjusted or aligned.</source>
        <translation>--fuse 需要指定模式：direct、adjusted 或 aligned。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="112"/>
        <source>Unknown fusion mode &quot;%1&quot;: use direct, adjusted or aligned.</source>
        <translation>未知的融合模式“%1”：请使用 direct、adjusted 或 aligned。</translation>
    </message>
    <message>
        <location filename="../../imgproc/FuseCommand.cpp" line="404"/>
        <source>Wrote %1 in %2 s in all</source>
        <translation>已写入 %1，共用时 %2 秒</translation>
    </message>
</context>
<context>
    <name>CImageCompareDlg</name>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="64"/>
        <source>Image comparing</source>
        <translation>图像比较</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="67"/>
        <source>Get image from video source</source>
        <translation>从视频源获取图像</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="69"/>
        <source>Capture</source>
        <translation>抓取</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="71"/>
        <source>Get image from storage</source>
        <translation>从存储获取图像</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="73"/>
        <location filename="../../tools/ImageCompareDlg.cpp" line="119"/>
        <source>Load</source>
        <translation>加载</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="87"/>
        <source>video</source>
        <translation>视频</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="88"/>
        <source>image</source>
        <translation>图像</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="119"/>
        <source>Image files (%1)</source>
        <translation>图像文件 (%1)</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="128"/>
        <source>%1 cannot be read as a picture.</source>
        <translation>无法将 %1 作为图像读取。</translation>
    </message>
    <message>
        <location filename="../../tools/ImageCompareDlg.cpp" line="129"/>
        <source>%1 cannot be read as a picture: %2</source>
        <translation>无法将 %1 作为图像读取：%2</translation>
    </message>
</context>
<context>
    <name>CImageMergeDlg</name>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="82"/>
        <source>Image Merge</source>
        <translation>图像合成</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="95"/>
        <source>....</source>
        <translation>....</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="96"/>
        <source>Video</source>
        <translation>视频</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="98"/>
        <source>List</source>
        <translation>列表</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="99"/>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="184"/>
        <source>Start video</source>
        <translation>开始视频</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="186"/>
        <source>Capture image</source>
        <translation>抓取图像</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="188"/>
        <location filename="../../merge/ImageMergeDlg.cpp" line="493"/>
        <source>Open image</source>
        <translation>打开图像</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="191"/>
        <source>Fit in</source>
        <translation>适应窗口</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="191"/>
        <source>X 1</source>
        <translation>X 1</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="191"/>
        <source>X 2</source>
        <translation>X 2</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="191"/>
        <source>X 3</source>
        <translation>X 3</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="194"/>
        <source>Fuse images</source>
        <translation>融合图像</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="196"/>
        <source>Save result</source>
        <translation>保存结果</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="198"/>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="201"/>
        <source>Adjusted Merge</source>
        <translation>调整合成</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="201"/>
        <source>Direct Merge</source>
        <translation>直接合成</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="201"/>
        <source>Aligned Merge</source>
        <translation>对齐合成</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="205"/>
        <source>Capture while focusing</source>
        <translation>调焦时自动采集</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="398"/>
        <location filename="../../merge/ImageMergeDlg.cpp" line="448"/>
        <source>Please preview video first!</source>
        <translation>请先预览视频！</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="414"/>
        <source>No picture came from the camera.</source>
        <translation>摄像头没有送来图像。</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="423"/>
        <source>The captured picture could not be saved to %1: %2</source>
        <translation>抓取的图像无法保存到 %1：%2</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="452"/>
        <location filename="../../merge/ImageMergeDlg.cpp" line="485"/>
        <source>Only support 20 images, please remove one image from list and try once again.</source>
        <translation>最多支持 20 张图像，请从列表中移除一张后重试。</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="494"/>
        <source>Image files (%1)</source>
        <translation>图像文件 (%1)</translation>
    </message>
    <message numerus="yes">
        <location filename="../../merge/ImageMergeDlg.cpp" line="500"/>
        <source>The list holds at most 20 images: %n chosen file(s) were not added.</source>
        <translation>
            <numerusform>列表最多容纳 20 张图像：有 %n 个选中的文件未加入。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="510"/>
        <location filename="../../merge/ImageMergeDlg.cpp" line="691"/>
        <source>%1 cannot be read as a picture.</source>
        <translation>无法将 %1 作为图像读取。</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="511"/>
        <location filename="../../merge/ImageMergeDlg.cpp" line="692"/>
        <source>%1 cannot be read as a picture: %2</source>
        <translation>无法将 %1 作为图像读取：%2</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="534"/>
        <source>Need 2 images to do the fusion function.</source>
        <translation>至少需要 2 张图像才能融合。</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="541"/>
        <source>%1 is %2 x %3, but %4 is %5 x %6: every image must have the same size.</source>
        <translation>%1 为 %2 x %3，而 %4 为 %5 x %6：所有图像必须尺寸相同。</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="566"/>
        <source>Fusing %1 images...</source>
        <translation>正在融合 %1 张图像...</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="566"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="594"/>
        <source>Aligning images %1 and %2 of %3</source>
        <translation>正在对齐第 %1 和第 %2 张图像（共 %3 张）</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="598"/>
        <source>Image %1 of %2</source>
        <translation>第 %1 张图像（共 %2 张）</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="616"/>
        <source>Unlikely alignment</source>
        <translation>对齐结果可疑</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="618"/>
        <source>The fusion failed; the previous result is kept.</source>
        <translation>图像融合失败，保留上一次的结果。</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="632"/>
        <source>There is no merged picture to save yet: fuse the images first.</source>
        <translation>还没有可保存的合成图像：请先融合图像。</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="640"/>
        <source>The merged picture could not be saved to %1: %2</source>
        <translation>合成的图像无法保存到 %1：%2</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="644"/>
        <source>File path: %1</source>
        <translation>文件路径：%1</translation>
    </message>
    <message>
        <location filename="../../merge/ImageMergeDlg.cpp" line="645"/>
        <source>Image saved successfully</source>
        <translation>图像保存成功</translation>
    </message>
</context>
<context>
    <name>CPairMapCheck</name>
    <message>
        <location filename="../../imgproc/PairMapCheck.cpp" line="93"/>
        <source>The Adjusted Merge moved image %1 against image %2 in an unlikely way (shift %3, %4 px, shear %5, scale %6; mean difference %7 moved, %8 unmoved), so the result may be scrambled. Aligned Merge lines up such pictures more reliably.</source>
        <translation>调整合成把图像 %1 相对图像 %2 移动得不合常理（位移 %3, %4 像素，剪切 %5，缩放 %6；平均差异：移动后 %7，不移动 %8），结果可能错乱。对齐合成能更可靠地对齐这类图像。</translation>
    </message>
</context>
</TS>
