<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CCountCommand</name>
    <message>
        <location filename="../../count/CountCommand.cpp" line="26"/>
        <source>Usage: kalvex --count FILE [--threshold auto|N] [--dark|--bright] [--channel luminance|red|green|blue] [--min-area PIXELS] [--exclude-edges] [--split] [--scale 0.5um] -o OUT.csv</source>
        <translation>用法：kalvex --count 文件 [--threshold auto|N] [--dark|--bright] [--channel luminance|red|green|blue] [--min-area 像素] [--exclude-edges] [--split] [--scale 0.5um] -o 输出.csv</translation>
    </message>
    <message>
        <location filename="../../count/CountCommand.cpp" line="112"/>
        <location filename="../../count/CountCommand.cpp" line="199"/>
        <source>--count needs a picture.</source>
        <translation>--count 需要一张图片。</translation>
    </message>
    <message>
        <location filename="../../count/CountCommand.cpp" line="113"/>
        <source>%1 needs a value.</source>
        <translation>%1 需要一个值。</translation>
    </message>
    <message>
        <location filename="../../count/CountCommand.cpp" line="127"/>
        <source>Give one picture to --count.</source>
        <translation>--count 只能给一张图片。</translation>
    </message>
    <message>
        <location filename="../../count/CountCommand.cpp" line="147"/>
        <source>Bad threshold &quot;%1&quot;: use auto or a grey level from 0 to 255.</source>
        <translation>阈值“%1”无效：请用 auto 或 0 到 255 的灰度值。</translation>
    </message>
    <message>
        <location filename="../../count/CountCommand.cpp" line="169"/>
        <source>Unknown channel &quot;%1&quot;: use luminance, red, green or blue.</source>
        <translation>未知通道“%1”：请用 luminance、red、green 或 blue。</translation>
    </message>
    <message>
        <location filename="../../count/CountCommand.cpp" line="180"/>
        <source>Bad minimum area &quot;%1&quot;: use a whole number of pixels.</source>
        <translation>最小面积“%1”无效：请用整数像素。</translation>
    </message>
    <message>
        <location filename="../../count/CountCommand.cpp" line="194"/>
        <source>Unknown option &quot;%1&quot;.</source>
        <translation>未知选项“%1”。</translation>
    </message>
    <message>
        <location filename="../../count/CountCommand.cpp" line="203"/>
        <source>-o needs an output file.</source>
        <translation>-o 需要一个输出文件。</translation>
    </message>
    <message>
        <location filename="../../count/CountCommand.cpp" line="207"/>
        <source>The output file is the picture itself.</source>
        <translation>输出文件就是图片本身。</translation>
    </message>
    <message>
        <location filename="../../count/CountCommand.cpp" line="227"/>
        <source>Bad scale &quot;%1&quot;: give the size of one pixel with its unit, as 0.5um or 0.002mm.</source>
        <translation>比例“%1”无效：请给出一个像素的尺寸及单位，如 0.5um 或 0.002mm。</translation>
    </message>
    <message>
        <location filename="../../count/CountCommand.cpp" line="237"/>
        <location filename="../../count/CountCommand.cpp" line="249"/>
        <source>Cannot read the picture %1: %2</source>
        <translation>无法读取图片 %1：%2</translation>
    </message>
    <message>
        <location filename="../../count/CountCommand.cpp" line="259"/>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <location filename="../../count/CountCommand.cpp" line="265"/>
        <source>Threshold: %1</source>
        <translation>阈值：%1</translation>
    </message>
    <message>
        <location filename="../../count/CountCommand.cpp" line="267"/>
        <source>Wrote %1</source>
        <translation>已写入 %1</translation>
    </message>
</context>
<context>
    <name>CCountDlg</name>
    <message>
        <location filename="../../count/CountDlg.cpp" line="49"/>
        <location filename="../../count/CountDlg.cpp" line="279"/>
        <source>Count objects</source>
        <translation>物体计数</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="65"/>
        <source>Automatic (Otsu)</source>
        <translation>自动（Otsu）</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="65"/>
        <source>Level</source>
        <translation>阈值</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="79"/>
        <source>Dark on light</source>
        <translation>亮底暗物</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="79"/>
        <source>Bright on dark</source>
        <translation>暗底亮物</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="82"/>
        <source>Luminance</source>
        <translation>亮度</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="82"/>
        <source>Red</source>
        <translation>红</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="82"/>
        <source>Green</source>
        <translation>绿</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="82"/>
        <source>Blue</source>
        <translation>蓝</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="83"/>
        <source>Split touching round objects</source>
        <translation>分开相连的圆形物体</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="88"/>
        <source> px</source>
        <translation> 像素</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="89"/>
        <source>Leave out objects on the edge</source>
        <translation>不计边缘上的物体</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="93"/>
        <source>Threshold:</source>
        <translation>阈值方式：</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="94"/>
        <source>Level:</source>
        <translation>阈值：</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="95"/>
        <source>Objects:</source>
        <translation>物体：</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="96"/>
        <source>Channel:</source>
        <translation>通道：</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="97"/>
        <source>Minimum area:</source>
        <translation>最小面积：</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="113"/>
        <source>Export CSV...</source>
        <translation>导出 CSV...</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="222"/>
        <source>There is no picture to count.</source>
        <translation>没有可计数的图片。</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="224"/>
        <source>No objects found.</source>
        <translation>未找到物体。</translation>
    </message>
    <message numerus="yes">
        <location filename="../../count/CountDlg.cpp" line="227"/>
        <source>%n object(s). Area (%1): mean %2, SD %3, min %4, max %5. Equivalent diameter (%6): mean %7, SD %8, min %9, max %10.</source>
        <translation>
            <numerusform>共 %n 个物体。面积（%1）：平均 %2，标准差 %3，最小 %4，最大 %5。等效直径（%6）：平均 %7，标准差 %8，最小 %9，最大 %10。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="241"/>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="241"/>
        <source>X (%1)</source>
        <translation>X（%1）</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="241"/>
        <source>Y (%1)</source>
        <translation>Y（%1）</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="242"/>
        <source>Area (%1)</source>
        <translation>面积（%1）</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="242"/>
        <source>Perimeter (%1)</source>
        <translation>周长（%1）</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="243"/>
        <source>Eq. diameter (%1)</source>
        <translation>等效直径（%1）</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="243"/>
        <source>Feret (%1)</source>
        <translation>Feret 直径（%1）</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="244"/>
        <source>Min Feret (%1)</source>
        <translation>最小 Feret 直径（%1）</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="244"/>
        <source>Circularity</source>
        <translation>圆度</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="271"/>
        <source>Export the count</source>
        <translation>导出计数结果</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="272"/>
        <source>CSV files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <location filename="../../count/CountDlg.cpp" line="278"/>
        <source>The count could not be saved to %1: %2</source>
        <translation>计数结果无法保存到 %1：%2</translation>
    </message>
</context>
<context>
    <name>CSizeHistogram</name>
    <message>
        <location filename="../../count/SizeHistogram.cpp" line="46"/>
        <source>No objects</source>
        <translation>没有物体</translation>
    </message>
    <message>
        <location filename="../../count/SizeHistogram.cpp" line="60"/>
        <source>equivalent diameter (%1)</source>
        <translation>等效直径（%1）</translation>
    </message>
</context>
</TS>
