<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CControlPage</name>
    <message>
        <location filename="../../capture/ControlPage.cpp" line="20"/>
        <source>This camera offers no adjustable controls.</source>
        <translation>此相机没有可调节的控制项。</translation>
    </message>
    <message>
        <location filename="../../capture/ControlPage.cpp" line="31"/>
        <source>Default</source>
        <translation>默认值</translation>
    </message>
    <message>
        <location filename="../../capture/ControlPage.cpp" line="162"/>
        <source>User Controls</source>
        <translation>用户控制</translation>
    </message>
    <message>
        <location filename="../../capture/ControlPage.cpp" line="163"/>
        <source>Camera Controls</source>
        <translation>相机控制</translation>
    </message>
    <message>
        <location filename="../../capture/ControlPage.cpp" line="164"/>
        <location filename="../../capture/TavoGraphDll.cpp" line="975"/>
        <source>Controls</source>
        <translation>控制</translation>
    </message>
</context>
<context>
    <name>CFormatPage</name>
    <message>
        <location filename="../../capture/FormatPage.cpp" line="21"/>
        <source>Output size:</source>
        <translation>输出大小：</translation>
    </message>
    <message>
        <location filename="../../capture/FormatPage.h" line="22"/>
        <source>Stream Format</source>
        <translation>流格式</translation>
    </message>
</context>
<context>
    <name>CPropertyForm</name>
    <message>
        <location filename="../../capture/PropertyForm.cpp" line="13"/>
        <source>Property Page</source>
        <translation>属性页</translation>
    </message>
    <message>
        <location filename="../../capture/PropertyForm.cpp" line="16"/>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <location filename="../../capture/PropertyForm.cpp" line="19"/>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <location filename="../../capture/PropertyForm.cpp" line="21"/>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <location filename="../../capture/PropertyForm.cpp" line="46"/>
        <source>Reset to camera defaults</source>
        <translation>恢复相机默认值</translation>
    </message>
</context>
<context>
    <name>CTavoGraphDll</name>
    <message>
        <location filename="../../capture/CaptureGraph.cpp" line="89"/>
        <source>Could not create SampleGrabber (is qedit.dll registered?)</source>
        <translation>无法创建 SampleGrabber（qedit.dll 是否已注册？）</translation>
    </message>
    <message>
        <location filename="../../capture/CaptureGraph.cpp" line="154"/>
        <location filename="../../capture/CaptureGraph.cpp" line="241"/>
        <source>Can&apos;t add the filter to graph</source>
        <translation>无法将过滤器添加到图中</translation>
    </message>
    <message>
        <location filename="../../capture/CaptureGraph.cpp" line="197"/>
        <source>Can&apos;t connect capture device filter to sample grabber filter</source>
        <translation>无法将采集设备过滤器连接到采样抓取过滤器</translation>
    </message>
    <message>
        <location filename="../../capture/CaptureGraph.cpp" line="218"/>
        <source>The camera &quot;%1&quot; cannot start: %2.</source>
        <translation>相机“%1”无法启动：%2。</translation>
    </message>
    <message>
        <location filename="../../capture/CaptureGraph.cpp" line="311"/>
        <location filename="../../capture/TavoGraphDll.cpp" line="1021"/>
        <source>A recording is already running.</source>
        <translation>已有录制正在进行。</translation>
    </message>
    <message>
        <location filename="../../capture/TavoGraphDll.cpp" line="41"/>
        <source>Cap</source>
        <translation>采集</translation>
    </message>
    <message>
        <location filename="../../capture/TavoGraphDll.cpp" line="315"/>
        <source>Error!</source>
        <translation>错误！</translation>
    </message>
    <message>
        <location filename="../../capture/TavoGraphDll.cpp" line="338"/>
        <source>Could not create filter graph</source>
        <translation>无法创建过滤器图</translation>
    </message>
    <message>
        <location filename="../../capture/TavoGraphDll.cpp" line="641"/>
        <source>Error Creating Device Enumerator</source>
        <translation>创建设备枚举器时出错</translation>
    </message>
    <message>
        <location filename="../../capture/TavoGraphDll.cpp" line="644"/>
        <source>Sorry, you have no video capture hardware.

Video capture will not function properly.</source>
        <translation>对不起，您没有视频采集硬件。

视频采集将无法正常工作。</translation>
    </message>
    <message>
        <location filename="../../capture/CaptureDeviceSource.cpp" line="43"/>
        <location filename="../../capture/CaptureDeviceSource.cpp" line="58"/>
        <location filename="../../capture/TavoGraphDll.cpp" line="756"/>
        <source>the camera is not connected</source>
        <translation>相机未连接</translation>
    </message>
    <message>
        <location filename="../../capture/CaptureDeviceSource.cpp" line="54"/>
        <source>you may not use %1 (add yourself to the &quot;video&quot; group)</source>
        <translation>您无权使用 %1（请将自己加入 &quot;video&quot; 组）</translation>
    </message>
    <message>
        <location filename="../../capture/CaptureDeviceSource.cpp" line="60"/>
        <source>another program is using the camera</source>
        <translation>另一个程序正在使用相机</translation>
    </message>
    <message>
        <location filename="../../capture/TavoGraphDll.cpp" line="1025"/>
        <source>There is no live video to record.</source>
        <translation>没有可录制的实时视频。</translation>
    </message>
    <message>
        <location filename="../../capture/TavoGraphDll.cpp" line="40"/>
        <source>%1 Property</source>
        <translation>%1属性</translation>
    </message>
    <message>
        <location filename="../../capture/VideoRecorder.cpp" line="44"/>
        <source>Video cannot be recorded: the GStreamer encoder is missing (install gstreamer1.0-plugins-good).</source>
        <translation>无法录制视频：缺少 GStreamer 编码器（请安装 gstreamer1.0-plugins-good）。</translation>
    </message>
    <message>
        <location filename="../../capture/VideoRecorder.cpp" line="147"/>
        <location filename="../../capture/VideoRecorder.cpp" line="193"/>
        <source>The video file cannot be written.</source>
        <translation>无法写入视频文件。</translation>
    </message>
    <message>
        <location filename="../../capture/VideoRecorder.cpp" line="223"/>
        <source>The picture size changed during the recording.</source>
        <translation>录制期间画面尺寸发生了变化。</translation>
    </message>
    <message>
        <location filename="../../capture/VideoRecorder.cpp" line="289"/>
        <source>No picture reached the video file.</source>
        <translation>没有画面写入视频文件。</translation>
    </message>
    <message>
        <location filename="../../capture/PictureDecoder.cpp" line="86"/>
        <location filename="../../capture/PictureDecoder.cpp" line="123"/>
        <location filename="../../capture/PictureDecoder.cpp" line="146"/>
        <source>%1 cannot be decoded: %2</source>
        <translation>无法解码 %1：%2</translation>
    </message>
    <message>
        <location filename="../../capture/PictureDecoder.cpp" line="92"/>
        <location filename="../../capture/PictureDecoder.cpp" line="102"/>
        <source>%1 cannot be read: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <location filename="../../capture/PictureDecoder.cpp" line="97"/>
        <source>%1 is too large for a picture</source>
        <translation>%1 太大，不是图片</translation>
    </message>
    <message>
        <location filename="../../capture/PictureDecoder.cpp" line="109"/>
        <source>%1 is not a JPEG, PNG, BMP or TIFF picture</source>
        <translation>%1 不是 JPEG、PNG、BMP 或 TIFF 图片</translation>
    </message>
    <message>
        <location filename="../../capture/PictureDecoder.cpp" line="144"/>
        <source>the picture holds no image</source>
        <translation>该文件中没有图像</translation>
    </message>
    <message>
        <location filename="../../capture/PictureList.cpp" line="111"/>
        <source>no pictures were named</source>
        <translation>未指定图片</translation>
    </message>
    <message>
        <location filename="../../capture/PictureList.cpp" line="119"/>
        <source>the folder %1 holds no JPEG, PNG, BMP or TIFF pictures</source>
        <translation>文件夹 %1 中没有 JPEG、PNG、BMP 或 TIFF 图片</translation>
    </message>
    <message>
        <location filename="../../capture/PictureList.cpp" line="130"/>
        <source>%1 needs one number field such as %02d</source>
        <translation>%1 需要一个编号字段，例如 %02d</translation>
    </message>
    <message>
        <location filename="../../capture/PictureList.cpp" line="143"/>
        <location filename="../../capture/PictureList.cpp" line="154"/>
        <source>no picture matches %1</source>
        <translation>没有与 %1 匹配的图片</translation>
    </message>
    <message>
        <location filename="../../capture/PictureList.cpp" line="160"/>
        <source>%1 does not exist</source>
        <translation>%1 不存在</translation>
    </message>
</context>
</TS>
