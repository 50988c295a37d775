<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CDeviceSettingDlg</name>
    <message>
        <location filename="../../video/DeviceSettingDlg.cpp" line="30"/>
        <source>Device setting</source>
        <translation>设备设置</translation>
    </message>
    <message>
        <location filename="../../video/DeviceSettingDlg.cpp" line="37"/>
        <source>Camera setting</source>
        <translation>摄像头设置</translation>
    </message>
    <message>
        <location filename="../../video/DeviceSettingDlg.cpp" line="40"/>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <location filename="../../video/DeviceSettingDlg.cpp" line="43"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../../video/DeviceSettingDlg.cpp" line="102"/>
        <source>it is not connected</source>
        <translation>它未连接</translation>
    </message>
    <message>
        <location filename="../../video/DeviceSettingDlg.cpp" line="106"/>
        <source>The camera &quot;%1&quot; cannot be opened: %2.</source>
        <translation>无法打开相机&quot;%1&quot;：%2。</translation>
    </message>
</context>
<context>
    <name>CSnapshotSaver</name>
    <message>
        <location filename="../../app/SnapshotSaver.cpp" line="48"/>
        <source>Bitmap Files(*.bmp)</source>
        <translation>位图文件(*.bmp)</translation>
    </message>
    <message>
        <location filename="../../app/SnapshotSaver.cpp" line="48"/>
        <source>JPEG Files(*.jpg)</source>
        <translation>JPEG 文件(*.jpg)</translation>
    </message>
    <message>
        <location filename="../../app/SnapshotSaver.cpp" line="49"/>
        <source>PNG Files(*.png)</source>
        <translation>PNG 文件(*.png)</translation>
    </message>
    <message>
        <location filename="../../app/SnapshotSaver.cpp" line="49"/>
        <source>TIFF Files(*.tif)</source>
        <translation>TIFF 文件(*.tif)</translation>
    </message>
    <message>
        <location filename="../../app/SnapshotSaver.cpp" line="71"/>
        <source>JPEG Files, full colour 4:4:4(*.jpg)</source>
        <translation>JPEG 文件，全彩色 4:4:4(*.jpg)</translation>
    </message>
    <message>
        <location filename="../../app/SnapshotSaver.cpp" line="136"/>
        <location filename="../../app/SnapshotSaver.cpp" line="219"/>
        <source>There is no picture to save.</source>
        <translation>没有可保存的图片。</translation>
    </message>
    <message>
        <location filename="../../app/SnapshotSaver.cpp" line="172"/>
        <source>Save As</source>
        <translation>另存为</translation>
    </message>
    <message>
        <location filename="../../app/SnapshotSaver.cpp" line="228"/>
        <source>The drawing cannot be added to this picture.</source>
        <translation>无法将绘图加入此图片。</translation>
    </message>
    <message>
        <location filename="../../app/SnapshotSaver.cpp" line="265"/>
        <source>Warnning</source>
        <translation>警告</translation>
    </message>
    <message>
        <location filename="../../app/SnapshotSaver.cpp" line="264"/>
        <source>The picture could not be saved to
%1

%2</source>
        <translation>图片无法保存到
%1

%2</translation>
    </message>
</context>
</TS>
