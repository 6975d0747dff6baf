// Small pictures for the preview tests and the preview benchmark, made in memory or by the
// system's own encoders.
#pragma once

#include <windows.h>
// wincodec.h builds on the types that windows.h declares.
#include <wincodec.h>

#include <initializer_list>
#include <string>
#include <vector>

// A 40x30 red PNG.
inline const std::string kPng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x28\x00\x00\x00"
    "\x1e\x08\x02\x00\x00\x00\xd1\xbf\xcb\x8a\x00\x00\x00\x28\x49\x44\x41\x54\x78\xda\xed\xcd\xb1"
    "\x0d\x00\x00\x08\xc0\xa0\xfe\xff\xb4\x9e\xa1\x03\x09\x3b\x4d\x9d\x48\x2c\x16\x8b\xc5\x62\xb1"
    "\x58\x2c\x16\x8b\xc5\x7f\xe3\x05\x3e\x9d\xab\x8d\x8b\x1c\x58\x84\x00\x00\x00\x00\x49\x45\x4e"
    "\x44\xae\x42\x60\x82",
    97);

// A 24-bit BMP of one colour.
inline std::string BlankBitmap(int width, int height) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
  bytes.append(static_cast<size_t>(stride) * height, '\x80');
  return bytes;
}

// A 33x17 two-colour GIF.
inline const std::string kGif(
    "\x47\x49\x46\x38\x39\x61\x21\x00\x11\x00\x80\x00\x00\x00\x00\xff\xff\xff\xff\x2c\x00"
    "\x00\x00\x00\x21\x00\x11\x00\x00\x02\x15\x84\x8f\xa9\xcb\xed\x0f\xa3\x9c\xb4\xda\x8b"
    "\xb3\xde\xbc\xfb\x0f\x86\xe2\x48\x96\x05\x00\x3b",
    54);

// A picture of `width` x `height` written by the system's own encoder for `container`.
inline bool EncodePicture(const std::string& path, const GUID& container, UINT width, UINT height) {
  CoInitialize(nullptr);
  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  bool written = false;
  const std::wstring widePath(path.begin(), path.end());
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE)) &&
      SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder)) &&
      SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
      SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
      SUCCEEDED(frame->Initialize(nullptr)) && SUCCEEDED(frame->SetSize(width, height))) {
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    frame->SetPixelFormat(&format);
    const UINT stride = (width * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height, 0x40);
    written = SUCCEEDED(frame->WritePixels(height, stride, static_cast<UINT>(pixels.size()),
                                           pixels.data())) &&
              SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
  }
  for (IUnknown* object : std::initializer_list<IUnknown*>{frame, encoder, stream, factory})
    if (object) object->Release();
  CoUninitialize();
  return written;
}

// An icon holding a PNG image, as current icon files do.
inline std::string PngIcon(const std::string& png, int width, int height) {
  std::string icon("\0\0\1\0\1\0", 6);  // reserved, type 1 (icon), one image
  const DWORD size = static_cast<DWORD>(png.size()), offset = 22;
  icon += static_cast<char>(width);
  icon += static_cast<char>(height);
  icon += std::string("\0\0\1\0\x20\0", 6);  // no palette, reserved, one plane, 32 bits
  icon.append(reinterpret_cast<const char*>(&size), 4);
  icon.append(reinterpret_cast<const char*>(&offset), 4);
  return icon + png;
}
