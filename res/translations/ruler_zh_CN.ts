<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CRulerCommand</name>
    <message>
        <location filename="../../app/RulerCommand.cpp" line="35"/>
        <source>Usage: kalvex --scale-from-ruler FILE --division LENGTH (for example 10um or 0.01mm; units um, mm, cm, inch)</source>
        <translation>用法：kalvex --scale-from-ruler 文件 --division 长度（例如 10um 或 0.01mm；单位 um、mm、cm、inch）</translation>
    </message>
    <message>
        <location filename="../../app/RulerCommand.cpp" line="50"/>
        <source>Unknown or incomplete option &apos;%1&apos;.</source>
        <translation>未知或不完整的选项“%1”。</translation>
    </message>
    <message>
        <location filename="../../app/RulerCommand.cpp" line="64"/>
        <source>The division &apos;%1&apos; is not a length from 1e-9 to 1e9 in um, mm, cm or inch (for example 10um).</source>
        <translation>分格“%1”不是 1e-9 到 1e9 之间、以 um、mm、cm 或 inch 表示的长度（例如 10um）。</translation>
    </message>
    <message>
        <location filename="../../app/RulerCommand.cpp" line="73"/>
        <source>The picture %1 cannot be read: %2</source>
        <translation>无法读取图片 %1：%2</translation>
    </message>
    <message>
        <location filename="../../app/RulerCommand.cpp" line="100"/>
        <source>There is no picture.</source>
        <translation>没有图片。</translation>
    </message>
</context>
<context>
    <name>CRulerReader</name>
    <message>
        <location filename="../../imgproc/RulerReader.cpp" line="112"/>
        <source>The picture is too small to hold a ruling (it needs at least 32 x 32 pixels).</source>
        <translation>图片太小，容不下刻度（至少需要 32 x 32 像素）。</translation>
    </message>
    <message>
        <location filename="../../imgproc/RulerReader.cpp" line="128"/>
        <source>The line along the scale is too short to read divisions from.</source>
        <translation>沿标尺的线太短，无法读出刻度。</translation>
    </message>
    <message>
        <location filename="../../imgproc/RulerReader.cpp" line="136"/>
        <source>The picture is blank: there is no ruling to read.</source>
        <translation>图片是空白的：没有可读的刻度。</translation>
    </message>
    <message>
        <location filename="../../imgproc/RulerReader.cpp" line="190"/>
        <location filename="../../imgproc/RulerReader.cpp" line="197"/>
        <source>No ruling found: the picture has no regular divisions.</source>
        <translation>未找到刻度：图片中没有规则的分格。</translation>
    </message>
    <message>
        <location filename="../../imgproc/RulerReader.cpp" line="250"/>
        <location filename="../../imgproc/RulerReader.cpp" line="271"/>
        <source>Too few divisions: at least 3 must be seen along the scale.</source>
        <translation>分格太少：沿标尺至少要看到 3 格。</translation>
    </message>
</context>
</TS>
