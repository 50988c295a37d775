<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CSidePanel</name>
    <message>
        <location filename="../../app/SidePanel.cpp" line="393"/>
        <source>Video</source>
        <translation>视频</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="88"/>
        <source>Load images</source>
        <translation>图像</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="90"/>
        <source>Measurement</source>
        <translation>测量</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="114"/>
        <source>Scale size</source>
        <translation>缩放</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="118"/>
        <source>Fit In</source>
        <translation>适应窗口</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="118"/>
        <source>X 1</source>
        <translation>X 1</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="118"/>
        <source>X 2</source>
        <translation>X 2</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="118"/>
        <source>X 3</source>
        <translation>X 3</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="121"/>
        <source>Resolution</source>
        <translation>分辨率</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="127"/>
        <source>BIN</source>
        <translation>二值化</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="131"/>
        <source>Binarization threshold</source>
        <translation>二值化阈值</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="132"/>
        <source>Val</source>
        <translation>值</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="190"/>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="190"/>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="190"/>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="190"/>
        <source>Unit</source>
        <translation>单位</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="393"/>
        <source>Still</source>
        <translation>静止</translation>
    </message>
</context>
<context>
    <name>CWhiteBalanceDlg</name>
    <message>
        <location filename="../../video/WhiteBalanceDlg.cpp" line="36"/>
        <source>White balance</source>
        <translation>白平衡</translation>
    </message>
    <message>
        <location filename="../../video/WhiteBalanceDlg.cpp" line="43"/>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <location filename="../../video/WhiteBalanceDlg.cpp" line="49"/>
        <source>Red</source>
        <translation>红</translation>
    </message>
    <message>
        <location filename="../../video/WhiteBalanceDlg.cpp" line="51"/>
        <source>Blue</source>
        <translation>蓝</translation>
    </message>
</context>
</TS>
