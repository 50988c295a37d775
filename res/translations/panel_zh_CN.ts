<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CSidePanel</name>
    <message>
        <location filename="../../app/SidePanel.cpp" line="40"/>
        <location filename="../../app/SidePanel.cpp" line="482"/>
        <source>Video</source>
        <translation>视频</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="40"/>
        <source>Video source</source>
        <translation>视频源</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="42"/>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="42"/>
        <source>Video setting</source>
        <translation>视频设置</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="44"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="44"/>
        <source>Save image</source>
        <translation>保存图像</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="47"/>
        <source>Saving setting</source>
        <translation>保存设置</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="48"/>
        <source>SaveAs</source>
        <translation>另存为</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="48"/>
        <source>Save as</source>
        <translation>另存为</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="50"/>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="51"/>
        <source>Enable or disable measure</source>
        <translation>启用或禁用测量</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="52"/>
        <source>Thumb</source>
        <translation>缩略图</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="52"/>
        <source>Thumbnail view</source>
        <translation>缩略图视图</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="54"/>
        <source>ImgCmp</source>
        <translation>图像对比</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="54"/>
        <source>Image compare</source>
        <translation>图像对比</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="56"/>
        <source>Anotation</source>
        <translation>标注</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="56"/>
        <source>Draw text</source>
        <translation>绘制文字</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="58"/>
        <source>AnotationDB</source>
        <translation>标注库</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="59"/>
        <source>Text management</source>
        <translation>文字管理</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="60"/>
        <source>AHE</source>
        <translation>亮度均衡</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="61"/>
        <source>Brightness Equalize</source>
        <translation>亮度均衡</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="62"/>
        <source>Merge</source>
        <translation>合成</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="62"/>
        <source>Image merge</source>
        <translation>图像合成</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="64"/>
        <source>WB</source>
        <translation>白平衡</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="64"/>
        <source>White balance</source>
        <translation>白平衡</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="66"/>
        <source>Line</source>
        <translation>直线</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="66"/>
        <source>Draw line</source>
        <translation>绘制直线</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="68"/>
        <source>Angle3</source>
        <translation>三点角</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="69"/>
        <source>Draw three-point angle</source>
        <translation>绘制三点角</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="70"/>
        <source>Angle4</source>
        <translation>四点角</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="71"/>
        <source>Draw four-point angle</source>
        <translation>绘制四点角</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="72"/>
        <source>Circle</source>
        <translation>圆</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="72"/>
        <source>Draw circle</source>
        <translation>绘制圆</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="74"/>
        <source>Draw Distance</source>
        <translation>绘制圆心距</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="46"/>
        <source>Save setting</source>
        <translation>保存设置</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="74"/>
        <source>Distance</source>
        <translation>圆心距</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="76"/>
        <source>Vertical</source>
        <translation>垂线</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="77"/>
        <source>Draw vertical lines</source>
        <translation>绘制垂线</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="78"/>
        <source>Area</source>
        <translation>面积</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="78"/>
        <source>Draw area</source>
        <translation>绘制面积</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="80"/>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="81"/>
        <source>Clear measurement</source>
        <translation>清除测量</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="82"/>
        <source>SaveCsv</source>
        <translation>导出CSV</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="83"/>
        <source>Save measurement</source>
        <translation>保存测量结果</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="84"/>
        <source>Color</source>
        <translation>颜色</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="84"/>
        <source>Color setting</source>
        <translation>颜色设置</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="86"/>
        <source>CAL</source>
        <translation>校准</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="86"/>
        <source>Calibration</source>
        <translation>校准</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="88"/>
        <source>Cross
Line</source>
        <translation>十字线</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="88"/>
        <source>Crossline</source>
        <translation>十字线</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="136"/>
        <source>Load images</source>
        <translation>图像</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="138"/>
        <source>Measurement</source>
        <translation>测量</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="195"/>
        <source>Scale size</source>
        <translation>缩放</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="199"/>
        <source>Fit In</source>
        <translation>适应窗口</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="199"/>
        <source>X 1</source>
        <translation>X 1</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="199"/>
        <source>X 2</source>
        <translation>X 2</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="199"/>
        <source>X 3</source>
        <translation>X 3</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="202"/>
        <source>Resolution</source>
        <translation>分辨率</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="208"/>
        <source>BIN</source>
        <translation>二值化</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="212"/>
        <source>Binarization threshold</source>
        <translation>二值化阈值</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="213"/>
        <source>Val</source>
        <translation>值</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="224"/>
        <source>Store...</source>
        <translation>保存...</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="225"/>
        <source>Keep this picture&apos;s scale in a calibration slot</source>
        <translation>把此图片的比例保存到一个标定槽</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="276"/>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="276"/>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="276"/>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="276"/>
        <source>Unit</source>
        <translation>单位</translation>
    </message>
    <message>
        <location filename="../../app/SidePanel.cpp" line="482"/>
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
