VERSION 5.00
Begin VB.UserControl Counter 
   ClientHeight    =   600
   ClientLeft      =   0
   ClientTop       =   0
   ClientWidth     =   1800
   ScaleHeight     =   600
   ScaleWidth      =   1800
   Begin VB.Label lblValue 
      Caption         =   "0"
      Height          =   255
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   1575
   End
End
Attribute VB_Name = "Counter"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = True
Attribute VB_PredeclaredId = False
Attribute VB_Exposed = True
Option Explicit

Public Property Get Value() As Long
Attribute Value.VB_UserMemId = 0
    Value = CLng(lblValue.Caption)
End Property

