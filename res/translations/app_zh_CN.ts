<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>CTavoMeasureDlg</name>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="42"/>
        <source>Kalvex Light</source>
        <translation>Kalvex Light 显微测量</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="55"/>
        <source>Hide the side panel</source>
        <translation>隐藏侧边栏</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="58"/>
        <source>Show the side panel</source>
        <translation>显示侧边栏</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="61"/>
        <source>Show the thumbnails</source>
        <translation>显示缩略图</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="64"/>
        <source>Hide the thumbnails</source>
        <translation>隐藏缩略图</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="252"/>
        <source>Already having one instance running!</source>
        <translation>程序已经在运行！</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="259"/>
        <source>About Kalvex</source>
        <translation>关于 Kalvex</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="260"/>
        <source>&lt;b&gt;Kalvex Light&lt;/b&gt; %1&lt;br&gt;Live picture, measurement and focus stacking for USB microscopes.</source>
        <translation>&lt;b&gt;Kalvex Light&lt;/b&gt; %1&lt;br&gt;USB 显微镜的实时画面、测量与景深合成。</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="295"/>
        <source>&amp;About Kalvex...</source>
        <translation>关于 Kalvex(&amp;A)...</translation>
    </message>
</context>
</TS>
