<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>CSaveSettingDlg</name>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="19"/>
        <source>Save Setting</source>
        <translation>保存设置</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="22"/>
        <source>Save path</source>
        <translation>保存路径</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="27"/>
        <source>Select</source>
        <translation>选择</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="33"/>
        <source>Save format</source>
        <translation>保存格式</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="34"/>
        <source>Bitmap(*.bmp)</source>
        <translation>位图(*.bmp)</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="36"/>
        <source>JPEG(*.jpg)</source>
        <translation>JPEG(*.jpg)</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="45"/>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="46"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="64"/>
        <source>Select Path:</source>
        <translation>选择路径：</translation>
    </message>
</context>
<context>
    <name>CTavoMeasureDlg</name>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="63"/>
        <source>Kalvex Light</source>
        <translation>Kalvex Light 显微测量</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="75"/>
        <source>Hide the side panel</source>
        <translation>隐藏侧边栏</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="77"/>
        <source>Show the side panel</source>
        <translation>显示侧边栏</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="79"/>
        <source>Show the thumbnails</source>
        <translation>显示缩略图</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="81"/>
        <source>Hide the thumbnails</source>
        <translation>隐藏缩略图</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="429"/>
        <source>The picture %1 cannot be opened:
%2</source>
        <translation>无法打开图片 %1：
%2</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="601"/>
        <source>Already having one instance running!</source>
        <translation>程序已经在运行！</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="608"/>
        <source>About Kalvex</source>
        <translation>关于 Kalvex</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="609"/>
        <source>&lt;b&gt;Kalvex Light&lt;/b&gt; %1&lt;br&gt;Live picture, measurement and focus stacking for USB microscopes.</source>
        <translation>&lt;b&gt;Kalvex Light&lt;/b&gt; %1&lt;br&gt;USB 显微镜的实时画面、测量与景深合成。</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="644"/>
        <source>&amp;About Kalvex...</source>
        <translation>关于 Kalvex(&amp;A)...</translation>
    </message>
</context>
</TS>
