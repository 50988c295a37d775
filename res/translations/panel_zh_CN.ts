<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CSidePanel</name>
    <message>
        <location filename="../../app/SidePanel.cpp" line="42"/>
        <location filename="../../app/SidePanel.cpp" line="433"/>
        <location filename="../../app/SidePanel.cpp" line="468"/>
        <source>Video</source>
        <translation>视频</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="42"/>
        <source>Video source</source>
        <translation>视频源</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="44"/>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="44"/>
        <source>Video setting</source>
        <translation>视频设置</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="46"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="46"/>
        <source>Save image</source>
        <translation>保存图像</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="48"/>
        <source>Save settin</source>
        <translation>保存设置</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="49"/>
        <source>Saving setting</source>
        <translation>保存设置</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="50"/>
        <source>SaveAs</source>
        <translation>另存为</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="50"/>
        <source>Save as</source>
        <translation>另存为</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="52"/>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="53"/>
        <source>Enable or disable measure</source>
        <translation>启用或禁用测量</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="54"/>
        <source>Thumb</source>
        <translation>缩略图</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="54"/>
        <source>Thumbnail view</source>
        <translation>缩略图视图</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="56"/>
        <source>ImgCmp</source>
        <translation>图像对比</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="56"/>
        <source>Image compare</source>
        <translation>图像对比</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="58"/>
        <source>Anotation</source>
        <translation>标注</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="58"/>
        <source>Draw text</source>
        <translation>绘制文字</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="60"/>
        <source>AnotationDB</source>
        <translation>标注库</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="61"/>
        <source>Text management</source>
        <translation>文字管理</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="62"/>
        <source>AHE</source>
        <translation>亮度均衡</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="63"/>
        <source>Brightness Equalize</source>
        <translation>亮度均衡</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="64"/>
        <source>Merge</source>
        <translation>合成</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="64"/>
        <source>Image merge</source>
        <translation>图像合成</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="66"/>
        <source>WB</source>
        <translation>白平衡</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="66"/>
        <source>White balance</source>
        <translation>白平衡</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="68"/>
        <source>Line</source>
        <translation>直线</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="68"/>
        <source>Draw line</source>
        <translation>绘制直线</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="70"/>
        <source>Angle3</source>
        <translation>三点角</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="71"/>
        <source>Draw three-point angle</source>
        <translation>绘制三点角</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="72"/>
        <source>Angle4</source>
        <translation>四点角</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="73"/>
        <source>Draw four-point angle</source>
        <translation>绘制四点角</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="74"/>
        <source>Circle</source>
        <translation>圆</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="74"/>
        <source>Draw circle</source>
        <translation>绘制圆</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="76"/>
        <source>Distanc</source>
        <translation>圆心距</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="76"/>
        <source>Draw Distance</source>
        <translation>绘制圆心距</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="78"/>
        <source>Vertic</source>
        <translation>垂线</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="79"/>
        <source>Draw vertical lines</source>
        <translation>绘制垂线</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="80"/>
        <source>Area</source>
        <translation>面积</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="80"/>
        <source>Draw area</source>
        <translation>绘制面积</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="82"/>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="83"/>
        <source>Clear measurement</source>
        <translation>清除测量</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="84"/>
        <source>SaveCsv</source>
        <translation>导出CSV</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="85"/>
        <source>Save measurement</source>
        <translation>保存测量结果</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="86"/>
        <source>Color</source>
        <translation>颜色</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="86"/>
        <source>Color setting</source>
        <translation>颜色设置</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="88"/>
        <source>CAL</source>
        <translation>校准</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="88"/>
        <source>Calibration</source>
        <translation>校准</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="90"/>
        <source>Cross
Line</source>
        <translation>十字
线</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="90"/>
        <source>Crossline</source>
        <translation>十字线</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="138"/>
        <source>Load images</source>
        <translation>图像</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="141"/>
        <source>Measurement</source>
        <translation>测量</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="202"/>
        <source>Scale size</source>
        <translation>缩放</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="207"/>
        <source>Fit In</source>
        <translation>适应窗口</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="207"/>
        <source>X 1</source>
        <translation>X 1</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="207"/>
        <source>X 2</source>
        <translation>X 2</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="207"/>
        <source>X 3</source>
        <translation>X 3</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="211"/>
        <source>Resolution</source>
        <translation>分辨率</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="219"/>
        <source>BIN</source>
        <translation>二值化</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="225"/>
        <source>Binarization threshold</source>
        <translation>二值化阈值</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="226"/>
        <source>Val</source>
        <translation>值</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="280"/>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="280"/>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="280"/>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="280"/>
        <source>Unit</source>
        <translation>单位</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="433"/>
        <location filename="../../app/SidePanel.cpp" line="468"/>
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
