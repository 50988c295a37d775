<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CShortcutTable</name>
    <message>
        <location filename="../../app/CommandTable.cpp" line="227"/>
        <source>Undo the last change of the drawing</source>
        <translation>撤销对绘图的上一次修改</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="231"/>
        <source>Redo what was undone</source>
        <translation>重做已撤销的修改</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="235"/>
        <source>Remove the selected shape</source>
        <translation>删除选中的图形</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="238"/>
        <source>Cancel the tool in progress</source>
        <translation>取消正在使用的工具</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="242"/>
        <source>Move the selected shape by one picture pixel</source>
        <translation>将选中的图形移动一个图像像素</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="244"/>
        <source>Arrow keys</source>
        <translation>方向键</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="260"/>
        <source>Move the selected shape by ten picture pixels</source>
        <translation>将选中的图形移动十个图像像素</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="262"/>
        <source>Shift+Arrow keys</source>
        <translation>Shift+方向键</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="277"/>
        <source>Copy the picture (with the measurements when &quot;Measure&quot; is on)</source>
        <translation>复制图像（“测量”打开时包含测量结果）</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="317"/>
        <source>About Kalvex</source>
        <translation>关于 Kalvex</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="341"/>
        <source>Write a report of the picture and its results (PDF)</source>
        <translation>写出图片及其结果的报告（PDF）</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="350"/>
        <source>Count and size the objects on the picture</source>
        <translation>对图片上的物体计数并测量大小</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="363"/>
        <source>Snap to edges on or off (Shift places a point freely)</source>
        <translation>开关边缘吸附（按住 Shift 自由放点）</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="369"/>
        <source>Live stack on or off</source>
        <translation>打开或关闭实时景深合成</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="65"/>
        <source>Save the picture</source>
        <translation>保存图像</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="79"/>
        <source>Save the picture as</source>
        <translation>图像另存为</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="281"/>
        <source>Take a snapshot, as the camera&apos;s snapshot button does</source>
        <translation>拍照，与相机的拍照按钮相同</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="51"/>
        <source>Switch between live video and still picture</source>
        <translation>在实时视频和静止图像之间切换</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="285"/>
        <source>Zoom in</source>
        <translation>放大</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="288"/>
        <source>Zoom out</source>
        <translation>缩小</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="292"/>
        <source>Fit the picture in the window</source>
        <translation>图像适应窗口</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="138"/>
        <source>Draw line</source>
        <translation>绘制直线</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="147"/>
        <source>Draw three-point angle</source>
        <translation>绘制三点角</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="156"/>
        <source>Draw four-point angle</source>
        <translation>绘制四点角</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="165"/>
        <source>Draw circle</source>
        <translation>绘制圆</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="174"/>
        <source>Draw distance</source>
        <translation>绘制圆心距</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="183"/>
        <source>Draw vertical lines</source>
        <translation>绘制垂线</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="192"/>
        <source>Draw area</source>
        <translation>绘制面积</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="107"/>
        <source>Draw text</source>
        <translation>绘制文字</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="295"/>
        <source>Focus peaking on or off</source>
        <translation>开关峰值对焦</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="298"/>
        <source>Pan the zoomed picture (or use the scroll bars)</source>
        <translation>平移放大的图像（或使用滚动条）</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="300"/>
        <source>Right-drag</source>
        <translation>右键拖动</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="303"/>
        <source>Scroll the zoomed picture up and down, with Shift sideways</source>
        <translation>上下滚动放大的图像，按住 Shift 左右滚动</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="306"/>
        <source>Wheel, Shift+Wheel</source>
        <translation>滚轮，Shift+滚轮</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="310"/>
        <source>Zoom in or out about the pointer</source>
        <translation>以指针为中心放大或缩小</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="311"/>
        <source>Ctrl+Wheel</source>
        <translation>Ctrl+滚轮</translation>
    </message>
</context>
<context>
    <name>CSidePanel</name>
    <message>
        <location filename="../../app/CommandTable.cpp" line="47"/>
        <source>Video</source>
        <translation>视频</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="48"/>
        <source>Video source</source>
        <translation>视频源</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="55"/>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="56"/>
        <source>Video setting</source>
        <translation>视频设置</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="61"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="62"/>
        <source>Save image</source>
        <translation>保存图像</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="69"/>
        <source>Save setting</source>
        <translation>保存设置</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="70"/>
        <source>Saving setting</source>
        <translation>保存设置</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="75"/>
        <source>SaveAs</source>
        <translation>另存为</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="76"/>
        <source>Save as</source>
        <translation>另存为</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="83"/>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="84"/>
        <source>Enable or disable measure</source>
        <translation>启用或禁用测量</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="89"/>
        <source>Thumb</source>
        <translation>缩略图</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="90"/>
        <source>Thumbnail view</source>
        <translation>缩略图视图</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="96"/>
        <source>ImgCmp</source>
        <translation>图像对比</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="97"/>
        <source>Image compare</source>
        <translation>图像对比</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="103"/>
        <source>Anotation</source>
        <translation>标注</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="104"/>
        <source>Draw text</source>
        <translation>绘制文字</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="112"/>
        <source>AnotationDB</source>
        <translation>标注库</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="113"/>
        <source>Text management</source>
        <translation>文字管理</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="118"/>
        <source>AHE</source>
        <translation>亮度均衡</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="119"/>
        <source>Brightness Equalize</source>
        <translation>亮度均衡</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="123"/>
        <source>Merge</source>
        <translation>合成</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="124"/>
        <source>Image merge</source>
        <translation>图像合成</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="128"/>
        <source>WB</source>
        <translation>白平衡</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="129"/>
        <source>White balance</source>
        <translation>白平衡</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="134"/>
        <source>Line</source>
        <translation>直线</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="135"/>
        <source>Draw line</source>
        <translation>绘制直线</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="143"/>
        <source>Angle3</source>
        <translation>三点角</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="144"/>
        <source>Draw three-point angle</source>
        <translation>绘制三点角</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="152"/>
        <source>Angle4</source>
        <translation>四点角</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="153"/>
        <source>Draw four-point angle</source>
        <translation>绘制四点角</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="161"/>
        <source>Circle</source>
        <translation>圆</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="162"/>
        <source>Draw circle</source>
        <translation>绘制圆</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="170"/>
        <source>Distance</source>
        <translation>圆心距</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="171"/>
        <source>Draw Distance</source>
        <translation>绘制圆心距</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="179"/>
        <source>Vertical</source>
        <translation>垂线</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="180"/>
        <source>Draw vertical lines</source>
        <translation>绘制垂线</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="188"/>
        <source>Area</source>
        <translation>面积</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="189"/>
        <source>Draw area</source>
        <translation>绘制面积</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="197"/>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="198"/>
        <source>Clear measurement</source>
        <translation>清除测量</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="203"/>
        <source>SaveCsv</source>
        <translation>导出CSV</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="204"/>
        <source>Save measurement</source>
        <translation>保存测量结果</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="209"/>
        <source>Color</source>
        <translation>颜色</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="210"/>
        <source>Color setting</source>
        <translation>颜色设置</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="215"/>
        <source>CAL</source>
        <translation>校准</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="216"/>
        <source>Calibration</source>
        <translation>校准</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="221"/>
        <source>Cross
Line</source>
        <translation>十字线</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="222"/>
        <source>Crossline</source>
        <translation>十字线</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="333"/>
        <source>Store...</source>
        <translation>保存...</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="334"/>
        <source>Keep this picture&apos;s scale in a calibration slot</source>
        <translation>把此图片的比例保存到一个标定槽</translation>
    </message>
</context>
<context>
    <name>CTavoMeasureDlg</name>
    <message>
        <location filename="../../app/WindowCommands.cpp" line="79"/>
        <source>Zoom in %1, zoom out %2, fit %3</source>
        <translation>放大 %1，缩小 %2，适应窗口 %3</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="314"/>
        <source>&amp;About Kalvex...</source>
        <translation>关于 Kalvex(&amp;A)...</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="320"/>
        <source>&amp;Keyboard shortcuts...</source>
        <translation>键盘快捷键(&amp;K)...</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="324"/>
        <source>&amp;Directed three-point angles (0 to 360 degrees)</source>
        <translation>有向三点角度(&amp;D)（0 到 360 度）</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="338"/>
        <source>&amp;Report...</source>
        <translation>报告(&amp;R)...</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="347"/>
        <source>&amp;Count objects...</source>
        <translation>物体计数(&amp;C)...</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="356"/>
        <source>&amp;Snap to edges</source>
        <translation>吸附到边缘(&amp;S)</translation>
    </message>
    <message>
        <location filename="../../app/CommandTable.cpp" line="357"/>
        <source>Points of the measuring tools go onto the nearest edge, to a part of a pixel; hold Shift to place one freely</source>
        <translation>测量工具的点落到最近的边缘上，精确到像素的几分之一；按住 Shift 可自由放置</translation>
    </message>
    <message>
        <location filename="../../app/WindowCommands.cpp" line="196"/>
        <source>Keyboard shortcuts</source>
        <translation>键盘快捷键</translation>
    </message>
</context>
</TS>
