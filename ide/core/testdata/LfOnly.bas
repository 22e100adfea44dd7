Attribute VB_Name = "LfOnly"
Option Explicit

Sub Main()
    Debug.Print "LF"
End Sub

