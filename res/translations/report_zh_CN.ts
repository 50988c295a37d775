<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CCommandLine</name>
    <message>
        <location filename="../../app/CommandLine.cpp" line="20"/>
        <source>Show this help and exit.</source>
        <translation>显示此帮助并退出。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="21"/>
        <source>Show the version and exit.</source>
        <translation>显示版本并退出。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="23"/>
        <source>User interface language (en, zh_CN).</source>
        <translation>界面语言（en、zh_CN）。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="25"/>
        <source>List the built-in Test Pattern camera.</source>
        <translation>列出内置的测试图案相机。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="27"/>
        <source>A Pictures camera: a folder or slice_%02d.jpg.</source>
        <translation>图片相机：一个文件夹或 slice_%02d.jpg。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="29"/>
        <source>The Pictures camera&apos;s frames a second (5).</source>
        <translation>图片相机每秒的帧数（5）。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="31"/>
        <source>Fuse IN... into one: direct|adjusted|aligned.</source>
        <translation>将 IN... 合成为一张：direct|adjusted|aligned。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="32"/>
        <source>Where a batch command writes.</source>
        <translation>批处理命令的输出文件。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="34"/>
        <source>With --fuse aligned: also write the depth map.</source>
        <translation>配合 --fuse aligned：同时写出深度图。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="35"/>
        <source>Batch commands tell each step.</source>
        <translation>批处理命令报告每一步。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="37"/>
        <source>Count the objects of a picture into -o OUT.csv.</source>
        <translation>对图片中的物体计数，写入 -o OUT.csv。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="39"/>
        <source>With --count: Otsu&apos;s level, or the level N.</source>
        <translation>配合 --count：Otsu 阈值，或阈值 N。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="41"/>
        <source>With --count: objects at or below the level.</source>
        <translation>配合 --count：物体为不高于阈值的像素。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="43"/>
        <source>With --count: objects at or above the level.</source>
        <translation>配合 --count：物体为不低于阈值的像素。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="45"/>
        <source>With --count: luminance, red, green or blue.</source>
        <translation>配合 --count：亮度、红、绿或蓝通道。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="47"/>
        <source>With --count: drop smaller objects.</source>
        <translation>配合 --count：舍弃更小的物体。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="49"/>
        <source>With --count: drop objects on the border.</source>
        <translation>配合 --count：舍弃接触边缘的物体。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="51"/>
        <source>With --count: split touching round objects.</source>
        <translation>配合 --count：分开相接的圆形物体。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="53"/>
        <source>With --count: one pixel&apos;s size, e.g. 0.5um.</source>
        <translation>配合 --count：一个像素的大小，例如 0.5um。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="55"/>
        <source>Print the scale read from a stage micrometer.</source>
        <translation>打印从显微标尺读出的比例。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="57"/>
        <source>With --scale-from-ruler: one division, e.g. 10um.</source>
        <translation>配合 --scale-from-ruler：一格的间距，例如 10um。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="74"/>
        <source>Live picture and measurement for USB microscopes.</source>
        <translation>USB 显微镜的实时画面与测量。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="85"/>
        <source>Pictures to open.</source>
        <translation>要打开的图片。</translation>
    </message>
    <message>
        <location filename="../../app/CommandLine.cpp" line="121"/>
        <source>--camera-fps takes a rate from 0.1 to 120, not &apos;%1&apos;.</source>
        <translation>--camera-fps 需要 0.1 到 120 之间的帧率，而不是“%1”。</translation>
    </message>
</context>
<context>
    <name>CInspectionReport</name>
    <message>
        <location filename="../../app/InspectionReport.cpp" line="52"/>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <location filename="../../app/InspectionReport.cpp" line="53"/>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <location filename="../../app/InspectionReport.cpp" line="54"/>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <location filename="../../app/InspectionReport.cpp" line="55"/>
        <source>Unit</source>
        <translation>单位</translation>
    </message>
</context>
<context>
    <name>CReportCommand</name>
    <message>
        <location filename="../../app/ReportCommand.cpp" line="20"/>
        <source>There is no picture to report on yet.</source>
        <translation>还没有可写入报告的图片。</translation>
    </message>
    <message>
        <location filename="../../app/ReportCommand.cpp" line="41"/>
        <source>Cannot write the report %1:
%2</source>
        <translation>无法写出报告 %1：
%2</translation>
    </message>
</context>
<context>
    <name>CReportDlg</name>
    <message>
        <location filename="../../app/ReportDlg.cpp" line="19"/>
        <location filename="../../app/ReportDlg.cpp" line="83"/>
        <source>Report</source>
        <translation>报告</translation>
    </message>
    <message>
        <location filename="../../app/ReportDlg.cpp" line="25"/>
        <source>What was inspected, and what was found</source>
        <translation>检查了什么，发现了什么</translation>
    </message>
    <message>
        <location filename="../../app/ReportDlg.cpp" line="27"/>
        <location filename="../../app/ReportDlg.cpp" line="56"/>
        <source>Inspection report</source>
        <translation>检查报告</translation>
    </message>
    <message>
        <location filename="../../app/ReportDlg.cpp" line="30"/>
        <source>Browse...</source>
        <translation>浏览...</translation>
    </message>
    <message>
        <location filename="../../app/ReportDlg.cpp" line="37"/>
        <source>&amp;Title:</source>
        <translation>标题(&amp;T)：</translation>
    </message>
    <message>
        <location filename="../../app/ReportDlg.cpp" line="38"/>
        <source>&amp;Note:</source>
        <translation>备注(&amp;N)：</translation>
    </message>
    <message>
        <location filename="../../app/ReportDlg.cpp" line="39"/>
        <source>&amp;File:</source>
        <translation>文件(&amp;F)：</translation>
    </message>
    <message>
        <location filename="../../app/ReportDlg.cpp" line="45"/>
        <source>Write PDF</source>
        <translation>写出 PDF</translation>
    </message>
    <message>
        <location filename="../../app/ReportDlg.cpp" line="83"/>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF 文档 (*.pdf)</translation>
    </message>
</context>
</TS>
